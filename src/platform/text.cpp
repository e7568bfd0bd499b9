#include "platform/text.h"

namespace obrix {
namespace {

// Decodes one UTF-8 character at s[i]. Returns its length (1..4) and sets `cp`, or returns 0 when the bytes at
// s[i] do not start a well-formed character (bad lead, bad or missing continuation, overlong form, surrogate,
// beyond U+10FFFF).
size_t DecodeUtf8(std::string_view s, size_t i, char32_t& cp) {
  const auto byte = [&](size_t k) { return static_cast<unsigned char>(s[k]); };
  unsigned char b0 = byte(i);
  if (b0 < 0x80) {
    cp = b0;
    return 1;
  }
  size_t len;
  char32_t min;
  if (b0 >= 0xC2 && b0 <= 0xDF) {
    len = 2, min = 0x80, cp = b0 & 0x1F;
  } else if (b0 >= 0xE0 && b0 <= 0xEF) {
    len = 3, min = 0x800, cp = b0 & 0x0F;
  } else if (b0 >= 0xF0 && b0 <= 0xF4) {
    len = 4, min = 0x10000, cp = b0 & 0x07;
  } else {
    return 0;
  }
  if (s.size() - i < len) return 0;
  for (size_t k = 1; k < len; ++k) {
    unsigned char b = byte(i + k);
    if ((b & 0xC0) != 0x80) return 0;
    cp = (cp << 6) | (b & 0x3F);
  }
  if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
  return len;
}

}  // namespace

std::string NarrowLatin1(std::string_view utf8, size_t maxBytes) {
  std::string out;
  out.reserve(utf8.size() < maxBytes ? utf8.size() : maxBytes);
  size_t i = 0;
  while (i < utf8.size() && out.size() < maxBytes) {
    char32_t cp = 0;
    size_t len = DecodeUtf8(utf8, i, cp);
    if (len == 0) {
      out.push_back('?');
      ++i;
      continue;
    }
    out.push_back(cp <= 0xFF ? static_cast<char>(static_cast<unsigned char>(cp)) : '?');
    i += len;
  }
  return out;
}

std::string WidenLatin1(std::string_view bytes) {
  size_t high = 0;
  for (char c : bytes) high += static_cast<unsigned char>(c) >= 0x80;
  std::string out;
  out.reserve(bytes.size() + high);
  for (char c : bytes) {
    unsigned char b = static_cast<unsigned char>(c);
    if (b < 0x80) {
      out.push_back(c);
    } else {
      out.push_back(static_cast<char>(0xC0 | (b >> 6)));
      out.push_back(static_cast<char>(0x80 | (b & 0x3F)));
    }
  }
  return out;
}

}  // namespace obrix
