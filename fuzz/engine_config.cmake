# libFuzzer target for the engine configuration format and its merge.
pellmore_fuzzer(engine_config SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/engine_config.cpp
                DEPS pellmore_enginesetup)
