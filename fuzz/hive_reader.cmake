# libFuzzer target for the simulated registry's hive and journal parsers.
pellmore_fuzzer(hive_reader SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/hive_reader.cpp
                DEPS pellmore_platform)
