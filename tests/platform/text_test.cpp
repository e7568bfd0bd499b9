#include <gtest/gtest.h>

#include <string>

#include "platform/text.h"

namespace obrix {
namespace {

TEST(NarrowLatin1, MapsEachCharacterToOneByte) {
  struct Case {
    const char* name;
    std::string utf8;
    size_t maxBytes;
    std::string expected;
  };
  const Case cases[] = {
      {"ascii", "Line 7", std::string::npos, "Line 7"},
      {"latin1 letters", "Z\xC3\xBCrich \xC3\xBF", std::string::npos, "Z\xFCrich \xFF"},
      {"beyond U+00FF", "\xCE\xA9mega", std::string::npos, "?mega"},
      {"four-byte character", "a\xF0\x9F\x98\x80" "b", std::string::npos, "a?b"},
      {"stray continuation", "a\x80" "b", std::string::npos, "a?b"},
      {"bad lead bytes", "\xFF\xFE", std::string::npos, "??"},
      {"truncated at end", "ab\xC3", std::string::npos, "ab?"},
      {"lead then ascii", "\xE2\x82" "x", std::string::npos, "??x"},
      {"overlong form", "\xC0\x80", std::string::npos, "??"},
      {"overlong three-byte", "\xE0\x80\xAF", std::string::npos, "???"},
      {"surrogate", "\xED\xA0\x80", std::string::npos, "???"},
      {"beyond U+10FFFF", "\xF4\x90\x80\x80", std::string::npos, "????"},
      {"cut by bytes", "Z\xC3\xBCrich", 3, "Z\xFCr"},
      {"cut inside wide text", "\xCE\xA9\xCE\xA9\xCE\xA9", 2, "??"},
      {"zero budget", "abc", 0, ""},
      {"empty", "", 15, ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(NarrowLatin1(c.utf8, c.maxBytes), c.expected) << c.name;
  }
}

TEST(WidenLatin1, EveryByteRoundTrips) {
  std::string all;
  for (int b = 0; b < 256; ++b) all.push_back(static_cast<char>(b));
  std::string wide = WidenLatin1(all);
  EXPECT_EQ(wide.size(), 128u + 2u * 128u);
  EXPECT_EQ(NarrowLatin1(wide), all);
  EXPECT_EQ(WidenLatin1("Z\xFCrich"), "Z\xC3\xBCrich");
}

}  // namespace
}  // namespace obrix
