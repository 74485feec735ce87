# libFuzzer target for the net distribution's list of files ("filelist.lst").
pellmore_fuzzer(file_list SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/file_list.cpp
                DEPS pellmore_install pellmore_archive pellmore_framework)
