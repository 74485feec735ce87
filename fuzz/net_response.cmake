# libFuzzer target for the download back end's server answers (HTTP and
# FTP from an in-process loopback server, through a net install location).
pellmore_fuzzer(net_response SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/net_response.cpp
                DEPS pellmore_files pellmore_platform pellmore_framework)
