#include "em38/em38_record.h"

#include <gtest/gtest.h>

#include <string>

namespace obrix {
namespace {

using namespace std::string_literals;

std::string Record(unsigned char status, const std::string& rest) { return "T"s + static_cast<char>(status) + rest; }

TEST(DecodeEm38Record, StatusAndValue) {
  struct Case {
    std::string record;
    double value;
    char dipole;
    short range;
    char marker;
    int channel;
  } cases[] = {
      {Record(0x3C, "-0123"), 1.5375, 'V', 100, 'N', 0},   // divisor 8, conductivity, range 100
      {Record(0x23, "00500"), -14.4, 'V', 1000, 'N', 2},   // inphase, range 1000
      {Record(0xC0, "00000"), 0.0, 'H', 100, 'M', 3},      // bit 7 ignored: marker, horizontal, inphase
      {Record(0x07, "00250"), -250.0, 'H', 1000, 'N', 1},  // conductivity, range 1000
      {Record(0x05, "00250"), -25.0, 'H', 100, 'N', 1},    // one range bit is the 100 range
      {Record(0x20, "01000"), -2.88, 'V', 100, 'N', 2},
      {Record(0x33, "00800"), -2.88, 'V', 1000, 'N', 2},   // inphase divided by 8
      {Record(0x08, "00010"), -0.0288, 'H', 100, 'N', 3},  // bit 3 unused
      {Record(0x24, "  -12"), 1.2, 'V', 100, 'N', 0},      // leading spaces and a sign
      {Record(0x24, "+0042"), -4.2, 'V', 100, 'N', 0},
      {Record(0x24, "12a45"), -1.2, 'V', 100, 'N', 0},     // reading stops at the first non-digit
      {Record(0x24, "-0012") + "99999", 1.2, 'V', 100, 'N', 0},  // the 12-character form: five unused characters
      {Record(0x24, "-00"), 0.0, 'V', 100, 'N', 0},
      {Record(0x00, "00001"), -0.00288, 'H', 100, 'N', 3},
      {"T", 0.0, 'H', 100, 'N', 3},
      {"", 0.0, 'H', 100, 'N', 3},
  };
  for (const Case& c : cases) {
    Em38Reading r = DecodeEm38Record(c.record);
    EXPECT_NEAR(r.value, c.value, 1e-12) << c.record;
    EXPECT_EQ(r.dipole, c.dipole) << c.record;
    EXPECT_EQ(r.range, c.range) << c.record;
    EXPECT_EQ(r.marker, c.marker) << c.record;
    EXPECT_EQ(r.channel, c.channel) << c.record;
  }
}

TEST(DecodeEm38Record, OnlyTheDecodedChannelIsPresent) {
  ResetChannels();
  DecodeEm38Record(Record(0x3C, "-0123"));
  EXPECT_EQ(Channels().ChannelPresent[0], 1);
  EXPECT_DOUBLE_EQ(Channels().ChannelValue[0], 1.5375);
  DecodeEm38Record(Record(0x23, "00500"));
  for (int ch = 0; ch < kChannelCount; ++ch) {
    EXPECT_EQ(Channels().ChannelPresent[ch], ch == 2 ? 1 : 0) << ch;
    EXPECT_DOUBLE_EQ(Channels().ChannelValue[ch], ch == 2 ? -14.4 : 0.0) << ch;
  }
  ResetChannels();
  EXPECT_EQ(Channels().ChannelPresent[2], 0);
}

}  // namespace
}  // namespace obrix
