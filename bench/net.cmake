# One HTTP download by the setup's net install location into a simulated
# machine, timed by net_bench.sh against curl on the same URL. A plain
# program (no Google Benchmark): the bench script runs it as a user would.
add_executable(net_fetch ${CMAKE_CURRENT_SOURCE_DIR}/net_fetch.cpp)
target_link_libraries(net_fetch PRIVATE pellmore_app)
