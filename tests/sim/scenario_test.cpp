#include "sim/scenario.h"

#include <gtest/gtest.h>

#include <cmath>

namespace obrix::sim {
namespace {

TEST(ScenarioTest, WalkGoesAlongTheLinesAndBack) {
  Scenario s;
  s.lineLength = 10;
  s.lineSpacing = 2;
  s.lines = 3;
  s.speed = 1;
  // Path: line 1 north (10 m), 2 m east, line 2 south, 2 m east, line 3 north: 34 m, then the same way back.
  struct Case {
    double heading, t, east, north, course;
  };
  const Case cases[] = {
      {0, 0, 0, 0, 0},      {0, 5, 0, 5, 0},       {0, 11, 1, 10, 90},   {0, 13, 2, 9, 180},
      {0, 34, 4, 10, 0},    {0, 35, 4, 9, 180},    {0, 67, 0, 1, 180},   {0, 69, 0, 1, 0},
      {0, -1, 0, 1, 180},   {90, 5, 5, 0, 90},     {90, 11, 10, -1, 180},
  };
  for (const Case& c : cases) {
    s.headingDeg = c.heading;
    WalkPoint w = WalkAt(s, c.t);
    SCOPED_TRACE(testing::Message() << "heading " << c.heading << " t " << c.t);
    EXPECT_NEAR(w.east, c.east, 1e-9);
    EXPECT_NEAR(w.north, c.north, 1e-9);
    EXPECT_NEAR(std::fmod(w.courseDeg + 360.0, 360.0), c.course, 1e-9);
  }
  s.speed = 0;
  WalkPoint still = WalkAt(s, 1000);
  EXPECT_EQ(still.east, 0);
  EXPECT_EQ(still.north, 0);
}

TEST(ScenarioTest, FieldPeaksAtTheAnomaly) {
  Scenario s;
  EXPECT_DOUBLE_EQ(ConductivityAt(s, s.anomalyEast, s.anomalyNorth), s.backgroundCond + s.anomalyCond);
  EXPECT_DOUBLE_EQ(InphaseAt(s, s.anomalyEast, s.anomalyNorth), s.backgroundInph + s.anomalyInph);
  EXPECT_NEAR(ConductivityAt(s, s.anomalyEast + 10 * s.anomalyRadius, s.anomalyNorth), s.backgroundCond, 1e-9);
  EXPECT_NEAR(ConductivityAt(s, s.anomalyEast + s.anomalyRadius, s.anomalyNorth),
              s.backgroundCond + s.anomalyCond / std::exp(1.0), 1e-9);
}

TEST(ScenarioTest, LocalMetresToDegrees) {
  Scenario s;
  s.originLat = 45;
  s.originLon = 10;
  double lat, lon;
  LocalToGeo(s, 0, 1000, &lat, &lon);
  EXPECT_NEAR((lat - 45) * 111132.0, 1000, 2);  // about 111.13 km per degree of latitude at 45 degrees
  LocalToGeo(s, 1000, 0, &lat, &lon);
  EXPECT_NEAR((lon - 10) * 78847.0, 1000, 2);   // about 78.85 km per degree of longitude
}

TEST(ScenarioTest, ParseAndFormat) {
  Scenario s;
  std::string error;
  ASSERT_TRUE(ParseScenario("# comment\n\nspeed = 2.5  # m/s\r\nlines=4\nstart_time = 1700000000.5\n", &s, &error))
      << error;
  EXPECT_EQ(s.speed, 2.5);
  EXPECT_EQ(s.lines, 4);
  EXPECT_EQ(s.startTime, 1700000000.5);

  Scenario back;
  ASSERT_TRUE(ParseScenario(FormatScenario(s), &back, &error)) << error;
  EXPECT_EQ(FormatScenario(back), FormatScenario(s));
  EXPECT_EQ(back.startTime, s.startTime);

  struct Bad {
    const char* text;
    const char* error;
  };
  const Bad bad[] = {
      {"speed 2\n", "line 1: expected key = value"},
      {"\nwidth = 2\n", "line 2: unknown key \"width\""},
      {"speed = fast\n", "line 1: bad number for speed"},
      {"speed =\n", "line 1: bad number for speed"},
      {"lines = 2.5\n", "line 1: lines must be a whole number"},
      {"lines = 0\n", "lines must be at least 1"},
      {"line_length = -1\n", "line_length must be positive"},
      {"origin_lat = 90\n", "origin_lat must lie between -89 and 89"},
      {"speed = nan\n", "line 1: bad number for speed"},
  };
  for (const Bad& b : bad) {
    Scenario t;
    t.speed = 7;
    EXPECT_FALSE(ParseScenario(b.text, &t, &error)) << b.text;
    EXPECT_EQ(error, b.error) << b.text;
    EXPECT_EQ(t.speed, 7) << "a failed parse leaves the scenario as it was";
  }
}

}  // namespace
}  // namespace obrix::sim
