# `cmake --install` and `cpack -G DEB`. An installed launcher finds its shipped files in
# PREFIX/share/korvane-starter/launcher and gives every user a launcher folder of their
# own, filled from them on the first start.
include(GNUInstallDirs)

install(TARGETS kvstarter kvmapview kvstool RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# The self-update helper beside the other private programs of the package.
install(TARGETS Renamer RUNTIME DESTINATION ${CMAKE_INSTALL_LIBDIR}/korvane-starter)

set(kv_share ${CMAKE_INSTALL_DATADIR}/korvane-starter)
install(DIRECTORY data/launcher/ DESTINATION ${kv_share}/launcher)
# The folder whose presence tells the launcher that its files are complete.
install(DIRECTORY DESTINATION ${kv_share}/launcher/Mods)
install(FILES data/desktop/korvane-starter.desktop data/desktop/korvane-starter-maps.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES data/desktop/korvane-starter.svg data/desktop/korvane-starter-maps.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES data/desktop/korvane-starter-maps.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages)

# Documents under the package's name, as Debian keeps them: the copyright, a changelog
# and the manual pages compressed reproducibly (no name or time stamp in the gzip header).
set(kv_doc ${CMAKE_INSTALL_DATADIR}/doc/korvane-starter)
configure_file(data/debian/changelog.in ${CMAKE_BINARY_DIR}/packaging/changelog @ONLY)
set(kv_manuals ${CMAKE_SOURCE_DIR}/data/man/kvstarter.1 ${CMAKE_SOURCE_DIR}/data/man/kvmapview.1)
# Made from kvstool's help texts at build time (tools/kvstool/docs.cmake).
get_property(kvstool_man GLOBAL PROPERTY KV_KVSTOOL_MAN)
get_property(kvstool_completion GLOBAL PROPERTY KV_KVSTOOL_COMPLETION)
if(kvstool_man)
    list(APPEND kv_manuals ${kvstool_man})
    install(FILES ${kvstool_completion} DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions
            RENAME kvstool)
endif()
set(kv_compressed ${CMAKE_BINARY_DIR}/packaging/changelog.gz)
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/packaging/changelog.gz
    COMMAND gzip -9nkf ${CMAKE_BINARY_DIR}/packaging/changelog
    DEPENDS ${CMAKE_BINARY_DIR}/packaging/changelog VERBATIM)
foreach(manual IN LISTS kv_manuals)
    get_filename_component(name ${manual} NAME)
    set(packed ${CMAKE_BINARY_DIR}/packaging/${name}.gz)
    add_custom_command(OUTPUT ${packed}
        COMMAND gzip -9nc ${manual} > ${packed}
        DEPENDS ${manual})
    list(APPEND kv_compressed ${packed})
    install(FILES ${packed} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endforeach()
add_custom_target(kv_packaging_docs ALL DEPENDS ${kv_compressed})
if(TARGET kvstool_docs)
    add_dependencies(kv_packaging_docs kvstool_docs)
endif()
install(FILES README.md data/debian/copyright ${CMAKE_BINARY_DIR}/packaging/changelog.gz
        DESTINATION ${kv_doc})

set(CPACK_PACKAGE_NAME korvane-starter)
set(CPACK_PACKAGE_VENDOR "Korvane Starter developers")
set(CPACK_PACKAGE_CONTACT "Korvane Starter developers <starter@korvane.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "Launcher and companion tool for the strategy game Korvane Tactics")
# The lines after the synopsis, each under 80 columns as Debian asks.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Korvane Starter picks a game installation and its start options and
starts the game, natively or through Wine; switches MODs on and off; chooses
AI and rules scripts for each player; meets other players in a small lobby;
fetches updates; inspects and extracts KDG archives; views, checks and
converts maps; and watches a running game's figures. kvstool does the same
from the command line.")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# "utils": the game itself is not in the package, and Debian keeps the games section
# for packages that bring one.
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_STRIP_FILES ON)
# Qt's libraries are found by dpkg-shlibdeps; the platform plugin is loaded at run time
# and so named here.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "wine")
include(CPack)
