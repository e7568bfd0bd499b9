#include "gps/nmea_fields.h"

#include <charconv>
#include <cmath>

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
    : text_(NmeaText(sentence)), separator_(separator) {
  const char* p = text_.data();
  const size_t size = text_.size();
  for (size_t i = 0; i < size; ++i) {
    if (p[i] != separator) continue;
    begin_[count_] = static_cast<uint32_t>(i + 1);
    if (count_ == kMaxFields) {
      more_ = true;
      return;
    }
    ++count_;
  }
}

bool NmeaFieldIndex::Field(int n, std::string_view* field) const {
  *field = std::string_view();
  if (n < 1) return false;
  if (n > count_) {
    if (!more_) return false;
    // Field n of the text is field n - kMaxFields of what follows the last indexed separator.
    return NmeaFieldText(text_.substr(begin_[kMaxFields]), n - kMaxFields, separator_, field);
  }
  const size_t begin = begin_[n - 1];
  const size_t end = n < count_ || more_ ? begin_[n] - 1 : text_.size();
  *field = text_.substr(begin, end - begin);
  return true;
}

unsigned NmeaXor(std::string_view line) {
  std::string_view text = NmeaText(line);
  size_t i = (!text.empty() && text[0] == '$') ? 1 : 0;
  unsigned x = 0;
  for (; i < text.size() && text[i] != '*'; ++i) x ^= static_cast<unsigned char>(text[i]);
  return x;
}

bool NmeaChecksumOk(std::string_view line) {
  std::string_view text = NmeaText(line);
  if (text.empty() || text[0] != '$') return false;
  size_t star = text.find('*');
  if (star == std::string_view::npos) return false;
  unsigned value = 0;
  size_t digits = 0;
  for (size_t i = star + 1; i < text.size(); ++i) {
    int h = HexValue(text[i]);
    if (h < 0) break;
    if (value <= 0xFFFF) value = value * 16 + static_cast<unsigned>(h);  // large values never match
    ++digits;
  }
  return digits > 0 && value == NmeaXor(text);
}

int NmeaInt(std::string_view text) { return ParseIntC(NmeaText(text)); }

double NmeaReal(std::string_view text) {
  text = NmeaText(text);
  size_t i = 0;
  while (i < text.size() && IsCSpace(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  size_t begin = i;
  size_t digits = 0;
  for (; i < text.size() && IsDigit(text[i]); ++i) ++digits;
  if (i < text.size() && text[i] == '.') {
    ++i;
    for (; i < text.size() && IsDigit(text[i]); ++i) ++digits;
  }
  if (digits == 0) return 0.0;
  double value = 0.0;
  auto r = std::from_chars(text.data() + begin, text.data() + i, value, std::chars_format::fixed);
  if (r.ec == std::errc::result_out_of_range) value = HUGE_VAL;
  else if (r.ec != std::errc()) value = 0.0;
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

}  // namespace obrix
