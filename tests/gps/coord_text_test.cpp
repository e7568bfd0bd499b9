#include "gps/coord_text.h"

#include <gtest/gtest.h>

#include <string>

namespace obrix {
namespace {

TEST(CoordText, Geographic) {
  struct Case {
    char letter;
    std::string field;
    int degreeDigits;
    std::string text;
  } cases[] = {
      {'N', "4336.5940", 2, "N43\u00B036'35.6400\""},
      {'W', "07936.6403", 3, "W079\u00B036'38.4180\""},
      {'S', "0000.0000", 2, "S00\u00B000'0.0000 \""},
      {'E', "17959.9999", 3, "E179\u00B059'59.9940\""},
      {'X', "4336.5940", 2, " 43\u00B036'35.6400\""},  // an invalid letter becomes a space
      {'N', "43", 2, "N43\u00B0'0.0000 \""},
      {'N', "", 2, "N\u00B0'0.0000 \""},
      {'N', "4\xFF" "36.5", 2, "N4\u00FF\u00B036'30.0000\""},
      // Negative minutes keep the sign of their fraction, a zero one included.
      {'N', "43-0.000", 2, "N43\u00B0-0'-0.0000\""},
      {'N', "43-1.000", 2, "N43\u00B0-1'-0.0000\""},
      {'N', "43-1.500", 2, "N43\u00B0-1'-30.0000\""},
  };
  for (const Case& c : cases) EXPECT_EQ(GeoReadout(c.letter, c.field, c.degreeDigits), c.text) << c.field;
}

TEST(CoordText, UtmAndGrid) {
  EXPECT_EQ(UtmReadout(4833546.123, 1), "  4833546.12 m");
  EXPECT_EQ(UtmReadout(304.8, 2), "     1000.00 ft");
  EXPECT_EQ(UtmReadout(304.800609601219, 3), "     1000.00 USft");
  EXPECT_EQ(UtmReadout(1.0, 7), "        1.00 m");
  EXPECT_EQ(ZoneReadout(7), "7 ");
  EXPECT_EQ(ZoneReadout(17), "17");

  struct Case {
    double metres;
    int display;
    int mapUnits;
    std::string text;
  } cases[] = {
      {100.0, 0, 0, "100.00       m"},
      {100.0, 0, 1, "328.08       ft"},     // x 3.28084
      {1000.0, 0, 2, "3280.83      USft"},  // x 3.2808333333333355
      {100.0, 1, 2, "100.00       m"},      // the display setting wins over the map units
      {304.8, 2, 0, "1000.00      ft"},     // / 0.3048
      {304.800609601219, 3, 0, "1000.00      USft"},
      {-5.5, 1, 0, "-5.50        m"},
      {1e300, 1, 0, std::string(ReadoutText::kCapacity, ' ')},  // placeholder, see below
  };
  for (const Case& c : cases) {
    std::string text = GridReadout(c.metres, c.display, c.mapUnits);
    if (c.metres > 1e100) {
      EXPECT_EQ(text.size(), ReadoutText::kCapacity);  // cut, never overrun
      EXPECT_EQ(text.substr(0, 2), "10");
    } else {
      EXPECT_EQ(text, c.text) << c.metres << " " << c.display << " " << c.mapUnits;
    }
  }
}

}  // namespace
}  // namespace obrix
