#include "gps/readout_text.h"

#include <charconv>
#include <cstdarg>
#include <cstdio>
#include <locale.h>

namespace obrix {
namespace {

locale_t CLocale() {
  static const locale_t loc = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
  return loc;
}

// Formats with the calling thread switched to the C locale; returns the bytes written (cut to `size` - 1).
size_t FormatCLocale(char* out, size_t size, const char* format, va_list args) {
  locale_t old = CLocale() ? uselocale(CLocale()) : static_cast<locale_t>(0);
  int n = std::vsnprintf(out, size, format, args);
  if (old) uselocale(old);
  if (n < 0) {
    out[0] = '\0';
    return 0;
  }
  return static_cast<size_t>(n) < size ? static_cast<size_t>(n) : size - 1;
}

// Length of the longest prefix of p[0..n) that does not end inside a UTF-8 sequence.
size_t WholeCharacters(const char* p, size_t n) {
  size_t i = n;
  size_t continuation = 0;
  while (i > 0 && continuation < 3 && (static_cast<unsigned char>(p[i - 1]) & 0xC0) == 0x80) {
    --i;
    ++continuation;
  }
  if (i == 0) return n;
  unsigned char lead = static_cast<unsigned char>(p[i - 1]);
  if (lead < 0xC0) return n;
  size_t need = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : 1;
  return continuation >= need ? n : i - 1;
}

void Repeat(ReadoutText& out, char ch, size_t count) {
  char run[ReadoutText::kCapacity];
  if (count > sizeof run) count = sizeof run;
  for (size_t i = 0; i < count; ++i) run[i] = ch;
  out.Append(std::string_view(run, count));
}

// Pads `body` (sign included) to `width` with spaces on the left or right, or with zeros after the sign.
void Pad(ReadoutText& out, const char* body, size_t n, int width, bool leftAlign, bool zeroPad) {
  const size_t w = width > 0 ? static_cast<size_t>(width) : 0;
  const size_t pad = w > n ? w - n : 0;
  if (leftAlign) {
    out.Append(std::string_view(body, n));
    Repeat(out, ' ', pad);
  } else if (zeroPad) {
    size_t sign = (n > 0 && body[0] == '-') ? 1 : 0;
    out.Append(std::string_view(body, sign));
    Repeat(out, '0', pad);
    out.Append(std::string_view(body + sign, n - sign));
  } else {
    Repeat(out, ' ', pad);
    out.Append(std::string_view(body, n));
  }
}

}  // namespace

void ReadoutText::Format(const char* format, ...) {
  va_list args;
  va_start(args, format);
  size_ = FormatCLocale(buf_, sizeof buf_, format, args);
  va_end(args);
  size_ = WholeCharacters(buf_, size_);
  buf_[size_] = '\0';
}

void ReadoutText::AppendFormat(const char* format, ...) {
  va_list args;
  va_start(args, format);
  size_ += FormatCLocale(buf_ + size_, sizeof buf_ - size_, format, args);
  va_end(args);
  size_ = WholeCharacters(buf_, size_);
  buf_[size_] = '\0';
}

void ReadoutText::AppendBytes(const char* p, size_t n) {
  size_t room = kCapacity - size_;
  if (n > room) n = WholeCharacters(p, room);
  for (size_t i = 0; i < n; ++i) buf_[size_ + i] = p[i];
  size_ += n;
  buf_[size_] = '\0';
}

void ReadoutText::AppendFixed(double value, int precision, int width, bool leftAlign) {
  char body[400];  // the longest double in fixed notation with a small precision fits
  auto r = std::to_chars(body, body + sizeof body, value, std::chars_format::fixed, precision);
  const size_t n = r.ec == std::errc() ? static_cast<size_t>(r.ptr - body) : 0;
  Pad(*this, body, n, width, leftAlign, false);
}

void ReadoutText::AppendInt(int value, int width, bool leftAlign, bool zeroPad) {
  char body[16];
  auto r = std::to_chars(body, body + sizeof body, value);
  Pad(*this, body, static_cast<size_t>(r.ptr - body), width, leftAlign, zeroPad && !leftAlign);
}

void ReadoutText::Append(std::string_view utf8) { AppendBytes(utf8.data(), utf8.size()); }

void ReadoutText::AppendLatin1(std::string_view bytes) {
  for (char ch : bytes) {
    unsigned char b = static_cast<unsigned char>(ch);
    if (b < 0x80) {
      if (size_ >= kCapacity) return;
      AppendBytes(&ch, 1);
    } else {
      if (size_ + 2 > kCapacity) return;
      const char two[2] = {static_cast<char>(0xC0 | (b >> 6)), static_cast<char>(0x80 | (b & 0x3F))};
      AppendBytes(two, 2);
    }
  }
}

}  // namespace obrix
