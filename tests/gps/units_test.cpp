#include "gps/length_units.h"

#include <gtest/gtest.h>

#include "gps/speed_units.h"

namespace obrix {
namespace {

TEST(LengthUnits, TwoSetsOfConstants) {
  EXPECT_DOUBLE_EQ(MetresToLengthUnit(0.3048, 1), 1.0);
  EXPECT_DOUBLE_EQ(MetresToLengthUnit(30.4800609601219, 2), 100.0);
  EXPECT_DOUBLE_EQ(LengthUnitToMetres(100.0, 2), 30.4800609601219);
  EXPECT_DOUBLE_EQ(MetresToLengthUnit(12.5, 0), 12.5);
  EXPECT_DOUBLE_EQ(GridMetresToLengthUnit(1.0, 1), 3.28084);
  EXPECT_DOUBLE_EQ(GridMetresToLengthUnit(1.0, 2), 3.2808333333333355);
  EXPECT_DOUBLE_EQ(MetresToLengthUnit(5.0, 9), 5.0);  // an unknown unit is metres
}

TEST(LengthUnits, RtsFactorTakesTheValueToMapUnits) {
  struct Case {
    bool feet;
    int digit;
    double toMetres, toFeet, toUsFeet;
  } cases[] = {
      {false, 0, 1.0, 3.28084, 3.2808333333333355},
      {false, 1, 1.0, 3.28084, 3.2808333333333355},  // metres stay metres whatever the RTS units
      {true, 0, 0.3048, 1.0, 0.3048 / 0.304800609601219},
      {true, 1, 0.304800609601219, 1.0000020000039993, 1.0},
      {false, 2, 1.0, 1.0, 1.0},
      {true, 2, 1.0, 1.0, 1.0},
  };
  for (const Case& c : cases) {
    EXPECT_DOUBLE_EQ(RtsGridFactor(c.feet, c.digit, 0), c.toMetres) << c.feet << c.digit;
    EXPECT_DOUBLE_EQ(RtsGridFactor(c.feet, c.digit, 1), c.toFeet) << c.feet << c.digit;
    EXPECT_DOUBLE_EQ(RtsGridFactor(c.feet, c.digit, 2), c.toUsFeet) << c.feet << c.digit;
  }
  // Feet to US survey feet and back is the identity.
  EXPECT_NEAR(RtsGridFactor(true, 0, 2) * RtsGridFactor(true, 1, 1), 1.0, 1e-15);
}

TEST(SpeedReadout, EightRows) {
  struct Case {
    int speedUnits;
    int mapUnits;
    double speed;
    const char* text;
  } cases[] = {
      {0, 0, 1.0, " 1.00 m/s"},  {1, 0, 1.0, " 3.28 ft/s"}, {2, 0, 1.0, " 3.60 km/h"}, {3, 0, 1.0, " 2.24 mph"},
      {0, 1, 10.0, " 3.05 m/s"}, {1, 1, 1.0, " 1.00 ft/s"}, {2, 2, 1.0, " 1.10 km/h"}, {3, 1, 10.0, " 6.82 mph"},
      {0, 0, 123.456, "123.46 m/s"},
      {9, 0, 1.0, " 1.00 m/s"},  // a speed unit outside the list reads as m/s, never beyond the table
      {-1, 1, 1.0, " 0.30 m/s"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(SpeedReadout(c.speed, c.speedUnits, c.mapUnits), c.text) << c.speedUnits << "/" << c.mapUnits;
  }
  EXPECT_DOUBLE_EQ(ShownSpeed(2.0, 2, 0), 7.2);
  EXPECT_DOUBLE_EQ(ShownSpeed(2.0, 2, 1), 2.0 * 1.0973);
}

}  // namespace
}  // namespace obrix
