# Runs EXE with ARGS (a list), through EMULATOR when given (a cross-built
# program), and compares its standard output with the file EXPECTED (line
# ends as on Unix); prints both on a difference. Used by CTest.
execute_process(COMMAND ${EMULATOR} ${EXE} ${ARGS} OUTPUT_VARIABLE out ERROR_VARIABLE err
                RESULT_VARIABLE rc)
string(REPLACE "\r\n" "\n" out "${out}")
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "${EXE} failed (${rc}): ${err}")
endif()
file(READ ${EXPECTED} expected)
if(NOT out STREQUAL expected)
  message(FATAL_ERROR "output differs from ${EXPECTED}\n--- got:\n${out}\n--- expected:\n${expected}")
endif()
