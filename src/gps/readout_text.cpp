#include "gps/readout_text.h"

#include <array>
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

// Pads `body` (ASCII, sign included) to `width` with spaces on the left or right, or with zeros after the sign.
void Pad(ReadoutText& out, const char* body, size_t n, int width, bool leftAlign, bool zeroPad) {
  static constexpr char kSpaces[] = "                                                               ";
  static constexpr char kZeros[] = "000000000000000000000000000000000000000000000000000000000000000";
  static_assert(sizeof kSpaces == ReadoutText::kCapacity + 1 && sizeof kZeros == ReadoutText::kCapacity + 1);
  const size_t w = width > 0 ? static_cast<size_t>(width) : 0;
  size_t pad = w > n ? w - n : 0;
  if (pad > ReadoutText::kCapacity) pad = ReadoutText::kCapacity;  // the rest would be cut
  if (leftAlign) {
    out.Append(std::string_view(body, n));
    out.Append(std::string_view(kSpaces, pad));
  } else if (zeroPad) {
    const size_t sign = (n > 0 && body[0] == '-') ? 1 : 0;
    out.Append(std::string_view(body, sign));
    out.Append(std::string_view(kZeros, pad));
    out.Append(std::string_view(body + sign, n - sign));
  } else {
    out.Append(std::string_view(kSpaces, pad));
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

// "00" to "99".
constexpr auto kDigitPairs = [] {
  std::array<char, 200> pairs{};
  for (int i = 0; i < 100; ++i) {
    pairs[2 * i] = static_cast<char>('0' + i / 10);
    pairs[2 * i + 1] = static_cast<char>('0' + i % 10);
  }
  return pairs;
}();

// "<sign><integer>.<precision digits>" of a scaled magnitude, written to end at `end`, two digits a step;
// returns where it starts.
char* WriteFixed(char* end, bool negative, uint64_t scaled, int precision) {
  char* p = end;
  auto pair = [&p](uint64_t v) {
    p -= 2;
    p[0] = kDigitPairs[2 * v];
    p[1] = kDigitPairs[2 * v + 1];
  };
  int fraction = precision;
  for (; fraction >= 2; fraction -= 2, scaled /= 100) pair(scaled % 100);
  if (fraction == 1) {
    *--p = static_cast<char>('0' + scaled % 10);
    scaled /= 10;
  }
  if (precision > 0) *--p = '.';
  for (; scaled >= 100; scaled /= 100) pair(scaled % 100);
  if (scaled >= 10) pair(scaled);
  else *--p = static_cast<char>('0' + scaled);
  if (negative) *--p = '-';
  return p;
}

}  // namespace

void ReadoutText::AppendFixed(double value, int precision, int width, bool leftAlign) {
  char body[400];  // the longest double in fixed notation with a small precision fits
  const char* start = body;
  size_t n = 0;
  uint64_t scaled = 0;
  if (ScaledMagnitude(value, precision, &scaled)) {
    start = WriteFixed(body + sizeof body, std::signbit(value), scaled, precision);
    n = static_cast<size_t>(body + sizeof body - start);
  } else {
    auto r = std::to_chars(body, body + sizeof body, value, std::chars_format::fixed, precision);
    n = r.ec == std::errc() ? static_cast<size_t>(r.ptr - body) : 0;
  }
  Pad(*this, start, n, width, leftAlign, false);
}

void ReadoutText::AppendInt(int value, int width, bool leftAlign, bool zeroPad) {
  char body[32];  // an int takes at most 11; the spare room keeps the bounds warning of the copies quiet
  auto r = std::to_chars(body, body + sizeof body, value);
  Pad(*this, body, static_cast<size_t>(r.ptr - body), width, leftAlign, zeroPad && !leftAlign);
}

void ReadoutText::AppendWidened(std::string_view bytes) {
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
