# libFuzzer target for the headless UI script parser.
pellmore_fuzzer(ui_script SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/ui_script.cpp
                DEPS pellmore_headless pellmore_framework)
