#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <string>

#include "platform/numbers.h"

namespace obrix {
namespace {

TEST(ParseIntC, StopsAtFirstNonDigitAndSaturates) {
  struct Case {
    std::string text;
    int expected;
  };
  const Case cases[] = {
      {"", 0},
      {"abc", 0},
      {"-", 0},
      {"12abc", 12},
      {"  \t-7", -7},
      {"+5", 5},
      {"1 2", 1},
      {"3.9", 3},
      {"16711680", 16711680},
      {"2147483647", INT_MAX},
      {"2147483648", INT_MAX},
      {"-2147483648", INT_MIN},
      {"-2147483649", INT_MIN},
      {"99999999999999999999999999", INT_MAX},
      {"-99999999999999999999999999", INT_MIN},
      {std::string("4\0" "2", 3), 4},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ParseIntC(c.text), c.expected) << "'" << c.text << "'";
  }
}

TEST(ParseRealC, ParsesLikeStrtodInTheCLocale) {
  struct Case {
    std::string text;
    double expected;
  };
  const Case cases[] = {
      {"", 0.0},
      {"abc", 0.0},
      {"0.200000", 0.2},
      {"-25.000000", -25.0},
      {" 1e3x", 1000.0},
      {"3,5", 3.0},
      {std::string("1.5\0" "9", 5), 1.5},
  };
  for (const Case& c : cases) {
    EXPECT_DOUBLE_EQ(ParseRealC(c.text), c.expected) << "'" << c.text << "'";
  }
  EXPECT_TRUE(std::isinf(ParseRealC("1e999")));
  EXPECT_TRUE(std::isnan(ParseRealC("nan")));
}

TEST(TruncToInt, SaturatesInsteadOfOverflowing) {
  EXPECT_EQ(TruncToInt(2.9), 2);
  EXPECT_EQ(TruncToInt(-2.9), -2);
  EXPECT_EQ(TruncToInt(1e300), INT_MAX);
  EXPECT_EQ(TruncToInt(-1e300), INT_MIN);
  EXPECT_EQ(TruncToInt(NAN), 0);
  EXPECT_EQ(TruncToInt(INFINITY), INT_MAX);
}

TEST(FormatC, LongOutputIsNotCut) {
  std::string wide(300, 'x');
  EXPECT_EQ(FormatC("%s|%d", wide.c_str(), 5), wide + "|5");
  EXPECT_EQ(FormatC("%f", 500.0), "500.000000");
}

}  // namespace
}  // namespace obrix
