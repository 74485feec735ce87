# libFuzzer target for the archive directory reader and the member
# extraction (outside input: archives and their volumes).
pellmore_fuzzer(archive SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/archive.cpp
                DEPS pellmore_archive pellmore_version pellmore_platform pellmore_framework)
