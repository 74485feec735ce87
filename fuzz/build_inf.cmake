# libFuzzer target for BUILD.INF (its first line and the build directory it
# names).
pellmore_fuzzer(build_inf SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/build_inf.cpp
                DEPS pellmore_install pellmore_framework)
