# Runs EXE (through EMULATOR when given) with --screenshot OUT and ARGS,
# then checks that OUT is a PNG file of the form's client size (WIDTH x
# HEIGHT) plus its frame and caption. Used by CTest.
file(REMOVE ${OUT})
execute_process(COMMAND ${EMULATOR} ${EXE} --screenshot ${OUT} ${ARGS} OUTPUT_VARIABLE out
                ERROR_VARIABLE err RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "${EXE} failed (${rc}): ${err}")
endif()
if(NOT EXISTS ${OUT})
  message(FATAL_ERROR "no screenshot written: ${out}${err}")
endif()
file(READ ${OUT} head LIMIT 24 HEX)
# The signature, then the IHDR chunk's width and height (big-endian).
string(SUBSTRING "${head}" 0 16 signature)
string(SUBSTRING "${head}" 32 8 width_hex)
string(SUBSTRING "${head}" 40 8 height_hex)
math(EXPR width "0x${width_hex}")
math(EXPR height "0x${height_hex}")
math(EXPR max_width "${WIDTH} + 24")
math(EXPR max_height "${HEIGHT} + 48")
if(NOT signature STREQUAL "89504e470d0a1a0a" OR width LESS WIDTH OR width GREATER max_width
   OR height LESS HEIGHT OR height GREATER max_height)
  message(FATAL_ERROR "${OUT}: signature ${signature}, ${width} x ${height} "
                      "(expected ${WIDTH} x ${HEIGHT} with a frame)")
endif()
