# Compression stream and member decoder against plain zlib on the sample
# engine's files, as ratios in one run.
pellmore_bench(codecs_bench SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/codecs_bench.cpp
               DEPS pellmore_archive pellmore_sample_engine pellmore_zlib)
