# libFuzzer target for the shortcut (.lnk) file reader (outside input).
pellmore_fuzzer(shell_link SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/shell_link.cpp
                DEPS pellmore_platform)
