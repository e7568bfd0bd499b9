#pragma once
// Sentence-level rules: fields, the checksum, numbers and the time of day. All take arbitrary bytes; text after
// an embedded NUL is ignored, as in a NUL-terminated sentence buffer.
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace obrix {

// The text up to the first NUL.
std::string_view NmeaText(std::string_view sentence);

// Field n (1 = the text before the first separator). Returns false when the sentence has fewer than n - 1
// separators (or n < 1); otherwise true and the field, possibly empty. The view points into `sentence`.
bool NmeaFieldText(std::string_view sentence, int n, char separator, std::string_view* field);
// The field, or an empty view when it is missing.
std::string_view NmeaField(std::string_view sentence, int n, char separator = ',');

// The fields of a sentence found in one pass, then each taken in constant time: Field() answers as
// NmeaFieldText and NmeaField do. Fields beyond kMaxFields are found by scanning on from the last one indexed.
class NmeaFieldIndex {
 public:
  static constexpr int kMaxFields = 40;

  explicit NmeaFieldIndex(std::string_view sentence, char separator = ',');
  bool Field(int n, std::string_view* field) const {
    if (n < 1 || n > count_) return FieldBeyond(n, field);
    const size_t begin = begin_[n - 1];
    const size_t end = n < count_ || more_ ? begin_[n] - 1 : text_.size();
    *field = text_.substr(begin, end - begin);
    return true;
  }
  std::string_view Field(int n) const {
    std::string_view field;
    Field(n, &field);
    return field;
  }

 private:
  // Field n outside the indexed ones.
  bool FieldBeyond(int n, std::string_view* field) const;

  std::string_view text_;
  char separator_;
  int count_ = 1;      // fields indexed
  bool more_ = false;  // the text has more fields than kMaxFields
  uint32_t begin_[kMaxFields + 1];  // where field i + 1 starts, for i < count_; begin_[count_] too when more_
};

// A '$' line passes when it holds a '*', and the XOR of the characters after '$' up to the first '*' equals the
// hexadecimal number after the '*' (either case, up to the first other character). A line without '*', without
// a leading '$', or without any hex digit after the '*' fails.
bool NmeaChecksumOk(std::string_view line);

// XOR of the characters after the leading '$' (if any) up to the first '*' or the end.
unsigned NmeaXor(std::string_view line);

// Where the first '*' of a line is and the XOR before it, found in one pass (the line assembler keeps them as
// it goes).
struct NmeaChecksumScan {
  static constexpr size_t kNoStar = static_cast<size_t>(-1);
  size_t star = kNoStar;  // index of the first '*'
  unsigned xorValue = 0;  // NmeaXor of the line
};
NmeaChecksumScan NmeaLineChecksum(std::string_view line);

// Integer as atoi: leading white space, a sign, digits; 0 when none; saturates at the int range.
int NmeaInt(std::string_view text);
// Decimal number as strtod without exponents: leading white space, a sign, digits, '.', digits; reading stops
// at the first other character; 0 when there is no digit. Too many digits give +-infinity. Correctly rounded.
double NmeaReal(std::string_view text);

// hhmmss.ss as seconds of the day: 3600 x (first two characters) + 60 x (next two) + the number from index 4.
double NmeaSecondsOfDay(std::string_view timeField);

// Whether `tag` occurs anywhere in the line.
bool NmeaHasTag(std::string_view line, std::string_view tag);

// What the reader does with a complete line: not a sentence or a failed checksum (kept as rejected), a checked
// '$' line, or a '$' line of a format that needs no checksum.
enum class LineVerdict { Rejected, Checked, Unchecked };
LineVerdict JudgeLine(std::string_view line, bool checksumRequired);
// The same for a line without NUL whose checksum facts are known (NmeaLineAssembler::checksum()).
LineVerdict JudgeLine(std::string_view line, bool checksumRequired, const NmeaChecksumScan& scan);

}  // namespace obrix
