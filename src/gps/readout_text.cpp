#include "gps/readout_text.h"

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
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
  if (count == 0) return;
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

namespace {

// |value| x 10^precision rounded to the nearest integer, ties to even, as the correctly rounded conversions do;
// exact, from the binary value m x 2^e. False for values outside the range this covers (non-finite, large).
bool ScaledMagnitude(double value, int precision, uint64_t* scaled) {
  static constexpr uint64_t kPow5[5] = {1, 5, 25, 125, 625};
  if (precision < 0 || precision > 4) return false;
  const uint64_t bits = std::bit_cast<uint64_t>(value);
  const int biased = static_cast<int>((bits >> 52) & 0x7FF);
  if (biased == 0x7FF) return false;
  const uint64_t fraction = bits & ((uint64_t{1} << 52) - 1);
  const uint64_t m = biased == 0 ? fraction : fraction | (uint64_t{1} << 52);
  const int e = (biased == 0 ? 1 : biased) - 1075;
  // |value| x 10^p = m x 5^p x 2^(e + p), with m x 5^p < 2^63.
  const uint64_t product = m * kPow5[precision];
  const int shift = -(e + precision);
  if (shift <= 0) {
    if (product != 0 && (-shift >= 64 || product > (~uint64_t{0} >> -shift))) return false;
    *scaled = product << -shift;
    return true;
  }
  if (shift >= 64) {  // product < 2^63 <= half of 2^shift: rounds to 0
    *scaled = 0;
    return true;
  }
  uint64_t q = product >> shift;
  const uint64_t rest = product & ((uint64_t{1} << shift) - 1);
  const uint64_t half = uint64_t{1} << (shift - 1);
  if (rest > half || (rest == half && (q & 1))) ++q;
  *scaled = q;
  return true;
}

// "<sign><integer>.<precision digits>" of a scaled magnitude; returns the length.
size_t WriteFixed(char* out, bool negative, uint64_t scaled, int precision) {
  char digits[24];
  size_t n = 0;
  do {
    digits[n++] = static_cast<char>('0' + scaled % 10);
    scaled /= 10;
  } while (scaled != 0 || n <= static_cast<size_t>(precision));
  size_t len = 0;
  if (negative) out[len++] = '-';
  while (n > 0) {
    if (n == static_cast<size_t>(precision) && precision > 0) out[len++] = '.';
    out[len++] = digits[--n];
  }
  return len;
}

}  // namespace

void ReadoutText::AppendFixed(double value, int precision, int width, bool leftAlign) {
  char body[400];  // the longest double in fixed notation with a small precision fits
  size_t n = 0;
  uint64_t scaled = 0;
  if (ScaledMagnitude(value, precision, &scaled)) {
    n = WriteFixed(body, std::signbit(value), scaled, precision);
  } else {
    auto r = std::to_chars(body, body + sizeof body, value, std::chars_format::fixed, precision);
    n = r.ec == std::errc() ? static_cast<size_t>(r.ptr - body) : 0;
  }
  Pad(*this, body, n, width, leftAlign, false);
}

void ReadoutText::AppendInt(int value, int width, bool leftAlign, bool zeroPad) {
  char body[16];
  auto r = std::to_chars(body, body + sizeof body, value);
  Pad(*this, body, static_cast<size_t>(r.ptr - body), width, leftAlign, zeroPad && !leftAlign);
}

void ReadoutText::AppendLatin1(std::string_view bytes) {
  size_t ascii = 0;
  while (ascii < bytes.size() && static_cast<unsigned char>(bytes[ascii]) < 0x80) ++ascii;
  if (ascii == bytes.size()) return Append(bytes);
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
