#include <gtest/gtest.h>

#include <string>

#include "dialogs/gps_setup.h"
#include "gps/nmea_table.h"
#include "settings/settings.h"
#include "settings/settings_file.h"
#include "state/session.h"
#include "test_support.h"

namespace obrix {
namespace {

TEST(GpsSetupDependents, FollowTheNmeaFormat) {
  struct Case {
    int format;
    bool mask;
    const char* dilutionOpening;
    const char* dilutionChanged;
    bool totalStation;
  } const cases[] = {
      {0, true, "PDOP", "PDOP", false},         {1, true, "HDOP", "HDOP", false},
      {2, true, "PDOP", "PDOP", false},         {3, true, "GDOP", "GDOP", false},
      {4, true, "Quality [m]", "Quality[m]", false}, {5, false, "N/A", "N/A", false},
      {6, true, "DOP", "DOP", false},           {7, false, "N/A", "N/A", true},
      {8, false, "N/A", "N/A", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(kNmeaFormatNames[c.format]);
    for (bool changed : {false, true}) {
      const GpsDependents g = GpsDependentsFor(c.format, changed);
      EXPECT_EQ(g.maskEnabled, c.mask);
      EXPECT_STREQ(g.warningLabel, c.mask ? "Warning" : "N/A");
      EXPECT_STREQ(g.qualityLabel, c.mask ? "Quality" : "N/A");
      EXPECT_STREQ(g.satellitesLabel, c.mask ? "Satellites" : "N/A");
      EXPECT_STREQ(g.dilutionLabel, changed ? c.dilutionChanged : c.dilutionOpening);
      EXPECT_EQ(g.totalStationEnabled, c.totalStation);
    }
  }
}

class GpsSetupForm : public ::testing::Test {
 protected:
  void SetUp() override { ResetSession(); }
  void TearDown() override { ResetSession(); }
  test::DataRootFixture root_;
};

TEST_F(GpsSetupForm, OkTakesEveryFieldAndTheMapFlag) {
  Config().gpsMaskSatellites = 99;  // a hand-edited file shows the last entry
  const GpsForm opened = OpenGpsForm();
  EXPECT_EQ(opened.maskSatellitesIndex, 9);
  EXPECT_EQ(opened.maskDilution, "4.0");
  GpsForm f = opened;
  f.gpsInput = 0;
  f.nmeaFormat = 7;
  f.gpsPort = 11;
  f.gpsBaud = 5;
  f.gpsParity = 2;
  f.gpsDataBits = 0;
  f.gpsStopBits = 1;
  f.slamPseudoGga = true;
  f.rtsUnits = 1;
  f.maskWarning = 0;
  f.maskQuality = 4;
  f.maskDilution = "2.5";
  f.maskSatellitesIndex = 4;
  f.audioWarning = false;
  Sess().MapVisible = true;
  ApplyGpsForm(f, opened);
  ResetSettings();
  SaveLoadSettings(Load);
  const Settings& s = Config();
  EXPECT_EQ(s.gpsInput, 0);
  EXPECT_EQ(s.nmeaFormat, 7);
  EXPECT_EQ(s.gpsPort, 11);
  EXPECT_EQ(s.gpsBaud, 5);
  EXPECT_EQ(s.gpsParity, 2);
  EXPECT_EQ(s.gpsDataBits, 0);
  EXPECT_EQ(s.gpsStopBits, 1);
  EXPECT_EQ(s.slamPseudoGga, 1);
  EXPECT_EQ(s.rtsUnits, 1);
  EXPECT_EQ(s.gpsMaskWarning, 0);
  EXPECT_EQ(s.gpsMaskQuality, 4);
  EXPECT_DOUBLE_EQ(s.gpsMaskDilution, 2.5);
  EXPECT_EQ(s.gpsMaskSatellites, 7);
  EXPECT_EQ(s.gpsAudioWarning, 0);
  EXPECT_FALSE(Sess().MapVisible);
}

TEST_F(GpsSetupForm, DilutionAndSlamRules) {
  struct Case {
    const char* name;
    double stored;
    const char* text;  // nullptr: as shown
    bool hasSlam;
    double dilution;
    int slam;
  } const cases[] = {
      {"not a number", 4.0, "x", true, 0.0, 0},
      {"unchanged keeps the finer value", 2.25, nullptr, true, 2.25, 0},
      {"narrow template keeps SLAM", 4.0, nullptr, false, 4.0, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ResetSettings();
    Config().gpsMaskDilution = c.stored;
    Config().slamPseudoGga = 1;
    GpsForm opened = OpenGpsForm();
    GpsForm f = opened;
    if (c.text) f.maskDilution = c.text;
    f.hasSlamOption = c.hasSlam;
    f.slamPseudoGga = false;
    ApplyGpsForm(f, opened);
    EXPECT_DOUBLE_EQ(Config().gpsMaskDilution, c.dilution);
    EXPECT_EQ(Config().slamPseudoGga, c.slam);
  }
}

}  // namespace
}  // namespace obrix
