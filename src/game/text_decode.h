// Text files as Xiangqi collections come: UTF-8 with or without its mark, or GB18030/GBK.
#pragma once

#include <string>

namespace rq {

// The bytes as UTF-8: a UTF-8 text loses its byte-order mark; a UTF-16 text with its mark
// and any text that is not valid UTF-8 but valid GB18030 (which holds GBK) are converted.
// False for bytes that are none of these, or that hold a NUL (a binary file).
bool DecodeText(const std::string& bytes, std::string& utf8);

}  // namespace rq
