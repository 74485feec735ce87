# libFuzzer target for the PE version resource reader (outside input).
pellmore_fuzzer(pe_version SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/pe_version.cpp
                DEPS pellmore_platform)
