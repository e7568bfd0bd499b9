#include "gps/nmea_fields.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

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
  for (const Case& c : cases) EXPECT_EQ(NmeaChecksumOk(c.line), c.ok) << c.line;
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
  for (const Case& c : cases) EXPECT_EQ(JudgeLine(c.line, c.checksumRequired), c.verdict) << c.line;
  EXPECT_TRUE(NmeaHasTag(kGgaGoodSum, "GGA"));
  EXPECT_FALSE(NmeaHasTag(kGgaGoodSum, "GSA"));
  EXPECT_FALSE(NmeaHasTag(kGgaGoodSum, ""));
}

}  // namespace
}  // namespace obrix
