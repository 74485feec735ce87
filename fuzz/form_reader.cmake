# libFuzzer target for the text form description reader and writer.
pellmore_fuzzer(form_reader SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/form_reader.cpp
                DEPS pellmore_sampleclasses)
