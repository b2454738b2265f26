# Writes OUTPUT: FILE's bytes as `extern const unsigned char SYMBOL[]` and its size.
file(READ "${FILE}" hex HEX)
string(LENGTH "${hex}" hexLength)
math(EXPR size "${hexLength} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
file(WRITE "${OUTPUT}.tmp" "// Generated; do not edit.\n#include <cstddef>\nextern const unsigned char ${SYMBOL}[] = {${bytes} 0};\nextern const std::size_t ${SYMBOL}Size = ${size};\n")
file(COPY_FILE "${OUTPUT}.tmp" "${OUTPUT}" ONLY_IF_DIFFERENT)
