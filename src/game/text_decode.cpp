#include "game/text_decode.h"

#include <iconv.h>

#include <cerrno>
#include <cstring>

namespace rq {
namespace {

// Whether the bytes are well-formed UTF-8 (no overlong forms, no surrogates).
bool IsUtf8(const std::string& s) {
  size_t i = 0;
  while (i < s.size()) {
    const unsigned char c = static_cast<unsigned char>(s[i]);
    size_t extra = 0;
    unsigned min = 0;
    unsigned code = c;
    if (c < 0x80) { ++i; continue; }
    if (c >= 0xC2 && c <= 0xDF) { extra = 1; min = 0x80; code = c & 0x1F; }
    else if (c >= 0xE0 && c <= 0xEF) { extra = 2; min = 0x800; code = c & 0x0F; }
    else if (c >= 0xF0 && c <= 0xF4) { extra = 3; min = 0x10000; code = c & 0x07; }
    else return false;
    if (i + extra >= s.size()) return false;
    for (size_t k = 1; k <= extra; ++k) {
      const unsigned char t = static_cast<unsigned char>(s[i + k]);
      if ((t & 0xC0) != 0x80) return false;
      code = (code << 6) | (t & 0x3F);
    }
    if (code < min || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return false;
    i += extra + 1;
  }
  return true;
}

// Converts the whole of `in` from `encoding` to UTF-8; false on any byte it cannot take.
bool Convert(const char* encoding, const char* in, size_t length, std::string& out) {
  iconv_t cd = iconv_open("UTF-8", encoding);
  if (cd == reinterpret_cast<iconv_t>(-1)) return false;
  out.clear();
  char buffer[4096];
  char* src = const_cast<char*>(in);
  size_t left = length;
  bool ok = true;
  while (left > 0) {
    char* dst = buffer;
    size_t room = sizeof buffer;
    const size_t r = iconv(cd, &src, &left, &dst, &room);
    out.append(buffer, static_cast<size_t>(dst - buffer));
    if (r == static_cast<size_t>(-1) && errno != E2BIG) {
      ok = false;
      break;
    }
  }
  iconv_close(cd);
  return ok;
}

}  // namespace

bool DecodeText(const std::string& bytes, std::string& utf8) {
  const char* data = bytes.data();
  size_t length = bytes.size();
  if (length >= 2 && (std::memcmp(data, "\xFF\xFE", 2) == 0 || std::memcmp(data, "\xFE\xFF", 2) == 0))
    return Convert("UTF-16", data, length, utf8) && utf8.find('\0') == std::string::npos;
  if (std::memchr(data, '\0', length) != nullptr) return false;
  if (length >= 3 && std::memcmp(data, "\xEF\xBB\xBF", 3) == 0) {
    data += 3;
    length -= 3;
  }
  std::string text(data, length);
  if (IsUtf8(text)) {
    utf8 = std::move(text);
    return true;
  }
  return Convert("GB18030", data, length, utf8);
}

}  // namespace rq
