# Script half of embed_file(): writes INPUT's bytes as a C++ array.
file(READ "${INPUT}" hex HEX)
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
string(REGEX REPLACE "((0x..,){16})" "\\1\n    " bytes "${bytes}")
file(WRITE "${OUTPUT_DIR}/${SYMBOL}.h"
"#pragma once
#include <span>
extern const std::span<const unsigned char> ${SYMBOL};
")
file(WRITE "${OUTPUT_DIR}/${SYMBOL}.cpp"
"#include \"${SYMBOL}.h\"
namespace {
const unsigned char data[] = {
    ${bytes}
};
}
const std::span<const unsigned char> ${SYMBOL}{data};
")
