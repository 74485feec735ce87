# Simulated registry: loading and saving hives of 10,000 and 100,000 values,
# and 10,000 single writes into a 100,000-value hive.
pellmore_bench(registry_bench SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/registry_bench.cpp
               DEPS pellmore_platform)
