# Writes OUTPUT, a C++ source defining `extern const std::string_view
# SYMBOL` with the bytes of INPUT as a raw string literal.
file(READ ${INPUT} content)
set(delimiter "pellmore_embed")
string(FIND "${content}" ")${delimiter}\"" clash)
if(NOT clash EQUAL -1)
  message(FATAL_ERROR "${INPUT} contains the raw string delimiter )${delimiter}\"")
endif()
get_filename_component(name ${INPUT} NAME)
file(WRITE ${OUTPUT}.tmp
     "// Generated from ${name} at build time; edit ${name} instead.\n"
     "#include <string_view>\n"
     "extern const std::string_view ${SYMBOL};\n"
     "const std::string_view ${SYMBOL} = R\"${delimiter}(${content})${delimiter}\";\n")
file(COPY_FILE ${OUTPUT}.tmp ${OUTPUT} ONLY_IF_DIFFERENT)
file(REMOVE ${OUTPUT}.tmp)
