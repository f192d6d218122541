# Flags shared by every target of ours.
function(kv_compile_options target)
    target_compile_options(${target} PRIVATE -Wall -Wextra)
    if(KV_WERROR)
        target_compile_options(${target} PRIVATE -Werror)
    endif()
    # GCC 12's -Wrestrict misreads the inlined copies of std::string's operator+ at -O2
    # (GCC bug 105329) and reports overlaps that cannot happen.
    if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
        target_compile_options(${target} PRIVATE -Wno-restrict)
    endif()
endfunction()

if(KV_SANITIZE)
    add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer
                        -fno-sanitize-recover=undefined)
    add_link_options(-fsanitize=address,undefined)
    # Coverage feedback for the fuzz targets reaches into the system library too.
    if(CMAKE_CXX_COMPILER_ID MATCHES "Clang")
        add_compile_options(-fsanitize=fuzzer-no-link)
    endif()
endif()

# Adds every immediate sub-folder of the current folder that has a CMakeLists.txt, so that
# areas (tests, tools, fuzz targets, benchmarks) can be added without touching a shared list.
function(kv_add_subfolders)
    file(GLOB entries LIST_DIRECTORIES true RELATIVE ${CMAKE_CURRENT_SOURCE_DIR}
         ${CMAKE_CURRENT_SOURCE_DIR}/*)
    list(SORT entries)
    foreach(entry ${entries})
        if(IS_DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR}/${entry}
           AND EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${entry}/CMakeLists.txt)
            add_subdirectory(${entry})
        endif()
    endforeach()
endfunction()
