#include "gps/nmea_fields.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace obrix {
namespace {

using namespace std::string_literals;

const std::string kGgaBadSum = "$GPGGA,133524,4336.5940,N,07936.6403,W,8,11,2.0,142.5,M,-35.4,M,,*70";
const std::string kGgaGoodSum = "$GPGGA,133524,4336.5940,N,07936.6403,W,8,11,2.0,142.5,M,-35.4,M,,*74";

TEST(NmeaFieldText, CutsAtSeparators) {
  struct Case {
    std::string sentence;
    int n;
    bool ok;
    std::string field;
  } cases[] = {
      {kGgaGoodSum, 1, true, "$GPGGA"},
      {kGgaGoodSum, 3, true, "4336.5940"},
      {kGgaGoodSum, 14, true, ""},
      {kGgaGoodSum, 15, true, "*74"},  // the last field runs to the end, checksum included
      {kGgaGoodSum, 16, false, ""},
      {"$A,B", 3, false, ""},
      {"$A,B,", 3, true, ""},
      {"no separator", 1, true, "no separator"},
      {"$A,B", 0, false, ""},
      {"$A,B", -3, false, ""},
      {"$A,B\0,C,D"s, 3, false, ""},  // text after a NUL is not part of the sentence
      {"$A;B;C", 2, true, "B"},
  };
  for (const Case& c : cases) {
    std::string_view field = "stale";
    EXPECT_EQ(NmeaFieldText(c.sentence, c.n, c.sentence.find(';') != std::string::npos ? ';' : ',', &field), c.ok)
        << c.sentence << " field " << c.n;
    EXPECT_EQ(field, c.field) << c.sentence << " field " << c.n;
  }
}

TEST(NmeaFieldIndex, AnswersAsTheFieldScanForEveryField) {
  std::string many = "$MANY";
  for (int i = 1; i < 2 * NmeaFieldIndex::kMaxFields; ++i) many += "," + std::to_string(i);
  const struct {
    std::string sentence;
    char separator;
  } cases[] = {
      {kGgaGoodSum, ','},
      {"", ','},
      {",", ','},
      {"$A,,B,", ','},
      {"$A,B\0,C,D"s, ','},
      {"$GPGGA,1\0,2,3,4,5,6,7,8"s, ','},          // a NUL in the first eight bytes, fields after it
      {"$GPGGA,12,3,4,56,78,9,\0,"s, ','},         // right after a separator in a later word
      {"$GPGGA,1,2,3,4,5,6,7,8,9,10\0"s, ','},     // in the bytes after the last whole word
      {"$A,B,C\0D"s, '\0'},                         // NUL as the separator: the text still ends there
      {many + "\0,1,2"s, ','},                     // beyond the indexed fields
      {many.substr(0, many.find(",40,") + 3) + "\0,"s, ','},
      {"$A;B;C", ';'},
      {many, ','},
      {many.substr(0, many.find(",39,") + 3), ','},  // exactly as many fields as are indexed
      {many.substr(0, many.find(",40,") + 3), ','},  // one more
  };
  for (const auto& c : cases) {
    const NmeaFieldIndex index(c.sentence, c.separator);
    for (int n = -1; n <= 2 * NmeaFieldIndex::kMaxFields + 2; ++n) {
      std::string_view expected = "stale", got = "stale";
      const bool ok = NmeaFieldText(c.sentence, n, c.separator, &expected);
      EXPECT_EQ(index.Field(n, &got), ok) << c.sentence << " field " << n;
      EXPECT_EQ(got, expected) << c.sentence << " field " << n;
      EXPECT_EQ(index.Field(n), NmeaField(c.sentence, n, c.separator)) << c.sentence << " field " << n;
    }
  }
}

TEST(NmeaChecksum, XorAgainstHexAfterStar) {
  EXPECT_EQ(NmeaXor(kGgaBadSum), 0x74u);
  struct Case {
    std::string line;
    bool ok;
  } cases[] = {
      {kGgaBadSum, false},
      {kGgaGoodSum, true},
      {"$GPGSA,A,3,01,07,08,11,13,17,27,28,30,,,,3.6,2.0,3.0*30", true},
      {"$GPGSA,A,3,01,07,08,11,13,17,27,28,30,,,,3.6,2.0,3.0*3", false},
      {"$AB*03", true},
      {"$AB*3", true},          // one hex digit is a number too
      {"$AB*0003", true},       // leading zeros
      {"$Aj*2b", true},         // lower case hex
      {"$Aj*2B", true},
      {"$AB*03xyz", true},      // reading stops at the first non-hex character
      {"$AB*3G", true},
      {"$AB*103", false},       // more digits, another number
      {"$AB*FFFFFFFFFFFFFFFFFFFF03", false},
      {"$AB", false},           // no '*'
      {"$AA*", false},          // XOR 0 but no hex digit after '*'
      {"$AA*zz", false},
      {"AB*03", false},         // not a '$' line
      {"", false},
      {"$AB\0*03"s, false},     // the '*' lies after the end of the sentence
      {"$A*B*03", false},       // the XOR stops at the first '*'
      {"$A*41", true},
      {"$\xC1\xC2*03", true},   // 8-bit bytes take part in the XOR
  };
  for (const Case& c : cases) {
    EXPECT_EQ(NmeaChecksumOk(c.line), c.ok) << c.line;
    // The same rule with the XOR and the '*' found beforehand, on the text a line buffer holds.
    const std::string text = c.line.substr(0, c.line.find('\0'));
    const LineVerdict verdict = c.ok ? LineVerdict::Checked : LineVerdict::Rejected;
    EXPECT_EQ(JudgeLine(text, true, NmeaLineChecksum(text)), verdict) << c.line;
  }
  EXPECT_EQ(NmeaLineChecksum("$A*B*03").star, 2u);
  EXPECT_EQ(NmeaLineChecksum("$AB").star, NmeaChecksumScan::kNoStar);
  EXPECT_EQ(NmeaLineChecksum("AB").xorValue, static_cast<unsigned>('A' ^ 'B'));  // no '$': from the start
}

TEST(NmeaNumbers, RealStopsAtFirstOtherCharacter) {
  struct Case {
    std::string text;
    double value;
  } cases[] = {
      {"3.6", 3.6},     {"", 0.0},       {"abc", 0.0},       {"-12.5x", -12.5}, {" \t7", 7.0},
      {"+2", 2.0},      {".5", 0.5},     {"1.", 1.0},        {"1e5", 1.0},      {"0x10", 0.0},
      {"-", 0.0},       {"-.", 0.0},     {"inf", 0.0},       {"nan", 0.0},      {"4336.5940", 4336.594},
      {"12\0" "34"s, 12.0},
  };
  for (const Case& c : cases) EXPECT_DOUBLE_EQ(NmeaReal(c.text), c.value) << c.text;
  EXPECT_TRUE(std::isinf(NmeaReal(std::string(400, '9'))));
  EXPECT_EQ(NmeaReal("-" + std::string(400, '9')), -HUGE_VAL);
  EXPECT_EQ(NmeaInt("99999999999"), 2147483647);
}

// The library conversion over the same characters NmeaReal reads: what the fast path must give bit for bit.
double LibraryReal(std::string_view text) {
  text = text.substr(0, text.find('\0'));
  size_t i = text.find_first_not_of(" \t\n\v\f\r");
  if (i == std::string_view::npos) return 0.0;
  bool negative = false;
  if (text[i] == '+' || text[i] == '-') negative = text[i++] == '-';
  const size_t begin = i;
  while (i < text.size() && text[i] >= '0' && text[i] <= '9') ++i;
  const size_t whole = i - begin;
  if (i < text.size() && text[i] == '.') ++i;
  const size_t afterPoint = i;
  while (i < text.size() && text[i] >= '0' && text[i] <= '9') ++i;
  if (whole == 0 && i == afterPoint) return 0.0;
  double value = 0.0;
  auto r = std::from_chars(text.data() + begin, text.data() + i, value, std::chars_format::fixed);
  if (r.ec == std::errc::result_out_of_range) value = HUGE_VAL;
  return negative ? -value : value;
}

bool SameBits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

TEST(NmeaNumbers, RealGivesTheLibraryConversionBitForBit) {
  std::vector<std::string> texts = {
      "", ".", "-", "+", "-.", "+.5", "-0", "-0.000", "0", "00000000000000000000000001.5", "1.", ".1",
      "0.1", "0.3", "2.675", "4336.5940", "07936.6403", "142.5", "-35.4", "133524.50", "9007199254740992",
      "9007199254740993", "9007199254740993.0", "18014398509481985", "9999999999999999999", "99999999999999999999",
      "1234567890.1234567890", "0.0000000000000000000001", "0.00000000000000000000001", "1.7976931348623157",
      "1e5", "12.5e3", "3.6*2F", "12,34", "  -7.25", "\t+8.5", "1.2.3", "--1", "+-1", "0x1A", "12\0" "34",
      "5" + std::string(30, '0'), "0." + std::string(30, '0') + "1", std::string(400, '9'),
      "-" + std::string(400, '9'), "0." + std::string(400, '0') + "1"};
  std::mt19937_64 rng(19);
  const char alphabet[] = "0123456789.";
  for (int i = 0; i < 20000; ++i) {
    std::string t = i % 3 == 0 ? "-" : "";
    const int length = 1 + static_cast<int>(rng() % 24);
    for (int k = 0; k < length; ++k) t += alphabet[rng() % (i % 2 ? 10 : 11)];
    if (i % 2) t.insert(rng() % t.size() + (t[0] == '-' ? 1 : 0), ".");
    texts.push_back(t);
  }
  for (const std::string& t : texts) {
    const double want = LibraryReal(t);
    const double got = NmeaReal(t);
    ASSERT_TRUE(SameBits(got, want)) << "'" << t << "' " << got << " vs " << want;
  }
}

TEST(NmeaTime, SecondsOfDay) {
  struct Case {
    std::string field;
    double seconds;
  } cases[] = {
      {"133524", 13 * 3600 + 35 * 60 + 24},
      {"133524.50", 13 * 3600 + 35 * 60 + 24.5},
      {"000000.00", 0},
      {"235959.99", 86399.99},
      {"", 0},
      {"1", 3600},
      {"123", 12 * 3600 + 3 * 60},
      {"GGK", 0},
  };
  for (const Case& c : cases) EXPECT_DOUBLE_EQ(NmeaSecondsOfDay(c.field), c.seconds) << c.field;
}

TEST(NmeaLines, Verdict) {
  struct Case {
    std::string line;
    bool checksumRequired;
    LineVerdict verdict;
  } cases[] = {
      {kGgaBadSum, true, LineVerdict::Rejected},
      {kGgaBadSum, false, LineVerdict::Unchecked},
      {kGgaGoodSum, true, LineVerdict::Checked},
      {"GPGGA,1,2*00", true, LineVerdict::Rejected},
      {"GPGGA,1,2", false, LineVerdict::Rejected},  // not a sentence whatever the format
      {"$GPGGA,no star", true, LineVerdict::Rejected},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(JudgeLine(c.line, c.checksumRequired), c.verdict) << c.line;
    EXPECT_EQ(JudgeLine(c.line, c.checksumRequired, NmeaLineChecksum(c.line)), c.verdict) << c.line;
  }
  EXPECT_TRUE(NmeaHasTag(kGgaGoodSum, "GGA"));
  EXPECT_FALSE(NmeaHasTag(kGgaGoodSum, "GSA"));
  EXPECT_FALSE(NmeaHasTag(kGgaGoodSum, ""));
}

}  // namespace
}  // namespace obrix
