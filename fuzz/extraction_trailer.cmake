# libFuzzer target for the self-extractor's trailer (offsets and their
# plausibility).
pellmore_fuzzer(extraction_trailer SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/extraction_trailer.cpp
                DEPS pellmore_archive)
