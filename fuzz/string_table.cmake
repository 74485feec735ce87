# libFuzzer target for the translator's string tables ("<id>;<text>" lines
# and memos).
pellmore_fuzzer(string_table SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/string_table.cpp
                DEPS pellmore_i18n pellmore_framework)
