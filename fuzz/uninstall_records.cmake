# libFuzzer target for the uninstall records the uninstall program reads
# (file records, counts, manifest entries, command line, UninstallString).
pellmore_fuzzer(uninstall_records SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/uninstall_records.cpp
                DEPS pellmore_uninstaller pellmore_files pellmore_framework)
