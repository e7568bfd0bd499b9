#pragma once
// 8-bit text of the files: Latin-1 narrowing of UTF-8 text and widening back.
#include <cstddef>
#include <string>
#include <string_view>

namespace obrix {

// UTF-8 -> Latin-1 bytes: characters up to U+00FF become their byte, any other character '?', every byte of an
// invalid UTF-8 sequence '?'. The result is cut to at most `maxBytes` bytes (never inside a character, since
// each character gives one byte).
std::string NarrowLatin1(std::string_view utf8, size_t maxBytes = std::string::npos);

// Latin-1 bytes -> UTF-8 (every byte is the character of the same code).
std::string WidenLatin1(std::string_view bytes);

}  // namespace obrix
