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
install(FILES README.md DESTINATION ${CMAKE_INSTALL_DOCDIR})
# Made from kvstool's help texts at build time (tools/kvstool/docs.cmake).
get_property(kvstool_man GLOBAL PROPERTY KV_KVSTOOL_MAN)
get_property(kvstool_completion GLOBAL PROPERTY KV_KVSTOOL_COMPLETION)
if(kvstool_man)
    install(FILES ${kvstool_man} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
    install(FILES ${kvstool_completion} DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions
            RENAME kvstool)
endif()

set(CPACK_PACKAGE_NAME korvane-starter)
set(CPACK_PACKAGE_VENDOR "Korvane Starter developers")
set(CPACK_PACKAGE_CONTACT "Korvane Starter developers <starter@korvane.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "Launcher and companion tool for the strategy game Korvane Tactics")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
# Qt's libraries are found by dpkg-shlibdeps; the platform plugin is loaded at run time
# and so named here.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "wine")
include(CPack)
