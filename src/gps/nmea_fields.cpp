#include "gps/nmea_fields.h"

#include <bit>
#include <charconv>
#include <cmath>
#include <cstring>

#include "platform/numbers.h"

namespace obrix {
namespace {

bool IsCSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

std::string_view NmeaText(std::string_view sentence) {
  size_t nul = sentence.find('\0');
  return nul == std::string_view::npos ? sentence : sentence.substr(0, nul);
}

bool NmeaFieldText(std::string_view sentence, int n, char separator, std::string_view* field) {
  *field = std::string_view();
  if (n < 1) return false;
  std::string_view text = NmeaText(sentence);
  size_t start = 0;
  for (int i = 1; i < n; ++i) {
    size_t sep = text.find(separator, start);
    if (sep == std::string_view::npos) return false;
    start = sep + 1;
  }
  size_t end = text.find(separator, start);
  *field = text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
  return true;
}

std::string_view NmeaField(std::string_view sentence, int n, char separator) {
  std::string_view field;
  NmeaFieldText(sentence, n, separator, &field);
  return field;
}

NmeaFieldIndex::NmeaFieldIndex(std::string_view sentence, char separator)
    : text_(sentence), separator_(separator) {
  begin_[0] = 0;
  const char* p = sentence.data();
  const size_t size = sentence.size();
  // The count is kept in a local: the stores into begin_ could change count_ for all the compiler knows.
  int count = 1;
  // Notes a field starting at `begin`; false once kMaxFields are indexed, the text then cut at its first NUL.
  auto add = [this, &count](size_t begin) {
    begin_[count] = static_cast<uint32_t>(begin);
    if (count == kMaxFields) {
      more_ = true;
      text_ = NmeaText(text_);
      return false;
    }
    ++count;
    return true;
  };
  // Eight bytes at a time: a word with a high bit in each byte that is zero (first byte lowest).
  static_assert(std::endian::native == std::endian::little);
  constexpr uint64_t kLow7 = 0x7F7F7F7F7F7F7F7FULL;
  auto zeroBytes = [](uint64_t v) { return ~(((v & kLow7) + kLow7) | v | kLow7); };
  const uint64_t pattern = 0x0101010101010101ULL * static_cast<unsigned char>(separator);
  size_t i = 0;
  size_t end = size;  // where the text ends: the first NUL, or the end of `sentence`
  for (; i + 8 <= size; i += 8) {
    uint64_t word;
    std::memcpy(&word, p + i, 8);
    uint64_t hits = zeroBytes(word ^ pattern);
    const uint64_t nul = zeroBytes(word);
    if (nul) hits &= (nul & (0 - nul)) - 1;  // only the separators before the first NUL
    for (; hits; hits &= hits - 1)
      if (!add(i + static_cast<size_t>(std::countr_zero(hits)) / 8 + 1)) break;
    if (more_) break;
    if (nul) {
      end = i + static_cast<size_t>(std::countr_zero(nul)) / 8;
      break;
    }
  }
  if (end == size && !more_) {
    for (; i < size; ++i) {
      if (p[i] == '\0') {
        end = i;
        break;
      }
      if (p[i] == separator && !add(i + 1)) break;
    }
  }
  count_ = count;
  if (!more_) text_ = text_.substr(0, end);
}

bool NmeaFieldIndex::FieldBeyond(int n, std::string_view* field) const {
  *field = std::string_view();
  if (n < 1 || !more_) return false;
  // Field n of the text is field n - kMaxFields of what follows the last indexed separator.
  return NmeaFieldText(text_.substr(begin_[kMaxFields]), n - kMaxFields, separator_, field);
}

unsigned NmeaXor(std::string_view line) { return NmeaLineChecksum(NmeaText(line)).xorValue; }

NmeaChecksumScan NmeaLineChecksum(std::string_view line) {
  NmeaChecksumScan scan;
  size_t i = (!line.empty() && line[0] == '$') ? 1 : 0;
  for (; i < line.size(); ++i) {
    if (line[i] == '*') {
      scan.star = i;
      break;
    }
    scan.xorValue ^= static_cast<unsigned char>(line[i]);
  }
  return scan;
}

namespace {

// The checksum rule on a '$' line without NUL.
bool ChecksumMatches(std::string_view text, const NmeaChecksumScan& scan) {
  if (scan.star == NmeaChecksumScan::kNoStar) return false;
  unsigned value = 0;
  size_t digits = 0;
  for (size_t i = scan.star + 1; i < text.size(); ++i) {
    int h = HexValue(text[i]);
    if (h < 0) break;
    if (value <= 0xFFFF) value = value * 16 + static_cast<unsigned>(h);  // large values never match
    ++digits;
  }
  return digits > 0 && value == scan.xorValue;
}

}  // namespace

bool NmeaChecksumOk(std::string_view line) {
  std::string_view text = NmeaText(line);
  if (text.empty() || text[0] != '$') return false;
  return ChecksumMatches(text, NmeaLineChecksum(text));
}

// Reading stops at a NUL in both, as at any other character that cannot continue the number.
int NmeaInt(std::string_view text) {
  // Up to nine plain digits, the usual field, cannot leave the int range.
  if (!text.empty() && text.size() <= 9) {
    int value = 0;
    size_t i = 0;
    for (; i < text.size() && IsDigit(text[i]); ++i) value = value * 10 + (text[i] - '0');
    if (i == text.size()) return value;
  }
  return ParseIntC(text);
}

double NmeaReal(std::string_view text) {
  const char* p = text.data();
  const size_t n = text.size();
  size_t i = 0;
  while (i < n && IsCSpace(p[i])) ++i;
  bool negative = false;
  if (i < n && (p[i] == '+' || p[i] == '-')) negative = p[i++] == '-';
  const size_t begin = i;
  // Digits gathered into an integer while it stays exact; `scale` counts the fraction digits.
  uint64_t digits = 0;
  size_t count = 0, scale = 0;
  for (; i < n && IsDigit(p[i]); ++i, ++count) digits = digits * 10 + static_cast<unsigned>(p[i] - '0');
  if (i < n && p[i] == '.') {
    ++i;
    for (; i < n && IsDigit(p[i]); ++i, ++count, ++scale) digits = digits * 10 + static_cast<unsigned>(p[i] - '0');
  }
  if (count == 0) return 0.0;
  double value = 0.0;
  // Both operands exact (digits <= 2^53, 10^scale with scale <= 22), so one IEEE division rounds correctly.
  static constexpr double kPow10[23] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                        1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
  if (count <= 19 && digits <= (uint64_t{1} << 53) && scale <= 22) {
    value = static_cast<double>(digits) / kPow10[scale];
  } else {
    auto r = std::from_chars(p + begin, p + i, value, std::chars_format::fixed);
    if (r.ec == std::errc::result_out_of_range) value = HUGE_VAL;
    else if (r.ec != std::errc()) value = 0.0;
  }
  return negative ? -value : value;
}

double NmeaSecondsOfDay(std::string_view timeField) {
  std::string_view t = NmeaText(timeField);
  std::string_view hours = t.substr(0, 2);
  std::string_view minutes = t.size() > 2 ? t.substr(2, 2) : std::string_view();
  std::string_view seconds = t.size() > 4 ? t.substr(4) : std::string_view();
  return 3600.0 * NmeaInt(hours) + 60.0 * NmeaInt(minutes) + NmeaReal(seconds);
}

bool NmeaHasTag(std::string_view line, std::string_view tag) {
  return !tag.empty() && NmeaText(line).find(tag) != std::string_view::npos;
}

LineVerdict JudgeLine(std::string_view line, bool checksumRequired) {
  std::string_view text = NmeaText(line);
  if (text.empty() || text[0] != '$') return LineVerdict::Rejected;
  if (!checksumRequired) return LineVerdict::Unchecked;
  return NmeaChecksumOk(text) ? LineVerdict::Checked : LineVerdict::Rejected;
}

LineVerdict JudgeLine(std::string_view line, bool checksumRequired, const NmeaChecksumScan& scan) {
  if (line.empty() || line[0] != '$') return LineVerdict::Rejected;
  if (!checksumRequired) return LineVerdict::Unchecked;
  return ChecksumMatches(line, scan) ? LineVerdict::Checked : LineVerdict::Rejected;
}

}  // namespace obrix
