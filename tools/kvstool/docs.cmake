# The manual page and the bash completion, made by kvstool itself from its help texts
# each time it is built, so that they say what `--help` says. A cross build cannot run the
# tool and ships neither.
if(NOT CMAKE_CROSSCOMPILING)
    set(kvstool_man ${CMAKE_CURRENT_BINARY_DIR}/kvstool.1)
    set(kvstool_completion ${CMAKE_CURRENT_BINARY_DIR}/kvstool.bash-completion)
    add_custom_command(
        OUTPUT ${kvstool_man} ${kvstool_completion}
        COMMAND ${CMAKE_COMMAND} -E env ASAN_OPTIONS=detect_leaks=0
                $<TARGET_FILE:kvstool> --man-page ${kvstool_man}
        COMMAND ${CMAKE_COMMAND} -E env ASAN_OPTIONS=detect_leaks=0
                $<TARGET_FILE:kvstool> --bash-completion ${kvstool_completion}
        DEPENDS kvstool
        COMMENT "Making the kvstool manual page and bash completion"
        VERBATIM)
    add_custom_target(kvstool_docs ALL DEPENDS ${kvstool_man} ${kvstool_completion})
    set_property(GLOBAL PROPERTY KV_KVSTOOL_MAN ${kvstool_man})
    set_property(GLOBAL PROPERTY KV_KVSTOOL_COMPLETION ${kvstool_completion})
endif()
