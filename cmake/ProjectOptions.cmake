# Warnings and sanitizers shared by every target of the project.
add_library(q745_options INTERFACE)
target_compile_options(q745_options INTERFACE -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor)
if(Q745_WERROR)
    target_compile_options(q745_options INTERFACE -Werror)
endif()
if(Q745_FUZZ)
    if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
        message(FATAL_ERROR "The fuzz targets need clang (libFuzzer): CXX=clang++")
    endif()
    # Coverage for the fuzzer in every object; the fuzz targets link libFuzzer itself.
    target_compile_options(q745_options INTERFACE -fsanitize=fuzzer-no-link,address,undefined
                                                  -fno-omit-frame-pointer
                                                  -fno-sanitize-recover=undefined)
    target_link_options(q745_options INTERFACE -fsanitize=address,undefined)
elseif(Q745_SANITIZE)
    target_compile_options(q745_options INTERFACE -fsanitize=address,undefined -fno-omit-frame-pointer
                                                  -fno-sanitize-recover=undefined)
    target_link_options(q745_options INTERFACE -fsanitize=address,undefined)
endif()
