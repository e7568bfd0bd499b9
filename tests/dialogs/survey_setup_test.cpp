#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "dialogs/survey_setup.h"
#include "platform/paths.h"
#include "settings/settings.h"
#include "settings/settings_file.h"
#include "test_support.h"

namespace obrix {
namespace {

struct RateCase {
  const char* text;
  bool refused;
  double interval;
  int intervalMs;
};

class SurveySetupForm : public ::testing::Test {
 protected:
  test::DataRootFixture root_;
};

TEST_F(SurveySetupForm, ReadingsPerSecondGiveIntervalAndMilliseconds) {
  const RateCase cases[] = {
      {"5", false, 0.2, 200},
      {"3", false, 1.0 / 3, 333},
      {"0", false, 1.0, 1000},
      {"abc", false, 1.0, 1000},
      {"", false, 1.0, 1000},
      {"nan", false, 1.0, 1000},
      {"2.5 Hz", false, 0.4, 400},
      {" 10", false, 0.1, 100},
      {"-2", true, 0, 0},
      {"-0.5", true, 0, 0},
      {"1e999", true, 0, 0},   // infinite rate: no interval
      {"1e-320", true, 0, 0},  // interval beyond any double
      {"13.9", false, 1.0 / 13.9, 71},  // the fastest the instrument delivers (72 ms records)
      {"13.91", true, 0, 0},
      {"50", true, 0, 0},
  };
  for (const RateCase& c : cases) {
    SCOPED_TRACE(c.text);
    ResetSettings();
    SurveyForm opened = OpenSurveyForm();
    SurveyForm f = opened;
    f.readingsPerSecond = c.text;
    const bool taken = ApplySurveyForm(f, opened);
    EXPECT_EQ(taken, !c.refused);
    if (c.refused) {
      EXPECT_DOUBLE_EQ(Config().readingInterval, 0.2);
      EXPECT_EQ(Drv().readingIntervalMs, 100);
      continue;
    }
    EXPECT_DOUBLE_EQ(Config().readingInterval, c.interval);
    EXPECT_EQ(Drv().readingIntervalMs, c.intervalMs);
    EXPECT_EQ(Drv().ReadingsPerInterval,
              ComputeReadingsPerInterval(c.interval, Drv().InstrumentPeriodMs));
  }
}

TEST_F(SurveySetupForm, RefusalsNameTheirReason) {
  struct {
    const char* text;
    const char* refusal;
  } cases[] = {{"-2", kRateRefusedText}, {"1e999", kRateRefusedText}, {"14", kRateTooHighText}};
  for (const auto& c : cases) {
    SurveyForm opened = OpenSurveyForm();
    SurveyForm f = opened;
    f.readingsPerSecond = c.text;
    const char* refusal = nullptr;
    EXPECT_FALSE(ApplySurveyForm(f, opened, &refusal)) << c.text;
    EXPECT_STREQ(refusal, c.refusal) << c.text;
  }
  // A stored rate the instrument cannot deliver is refused too when it is left as shown; the fastest one
  // that it can deliver is kept.
  Config().readingInterval = 0.02;
  SurveyForm opened = OpenSurveyForm();
  const char* refusal = nullptr;
  EXPECT_FALSE(ApplySurveyForm(opened, opened, &refusal));
  EXPECT_STREQ(refusal, kRateTooHighText);
  Config().readingInterval = 1.0 / 13.9;
  opened = OpenSurveyForm();
  EXPECT_EQ(opened.readingsPerSecond, "13.90");
  EXPECT_TRUE(ApplySurveyForm(opened, opened));
}

TEST_F(SurveySetupForm, OnlyTheFirst31CharactersOfTheRateAreRead) {
  EXPECT_EQ(ReadingsPerSecond(std::string(30, ' ') + "4"), std::optional<double>(4.0));
  EXPECT_EQ(ReadingsPerSecond(std::string(31, ' ') + "4"), std::optional<double>(1.0));
}

TEST_F(SurveySetupForm, StationsLinesAndModesAreTakenAndSaved) {
  Config().loggingMode = 2;
  Drv().StationStarted = 1;
  SurveyForm opened = OpenSurveyForm();
  SurveyForm f = opened;
  f.startStation = "12.5";
  f.stationIncrement = "0";
  f.lineName = "ABCDEFGHIJKLMNOPQ";
  f.lineIncrement = "2.5";
  f.lineSequence = 1;
  f.lineDirection = 3;
  f.component = 1;
  f.dipoleMode = 1;
  ASSERT_TRUE(ApplySurveyForm(f, opened));

  const Settings& s = Config();
  const Derived& d = Drv();
  EXPECT_EQ(s.loggingMode, 0);
  EXPECT_EQ(d.SurveyLoggingMode, 0);
  EXPECT_EQ(d.LoggingModeInUse, 0);
  EXPECT_DOUBLE_EQ(s.startStation, 12.5);
  EXPECT_DOUBLE_EQ(d.StationValue, 12.5);
  EXPECT_DOUBLE_EQ(d.SurveyStartStation, 12.5);
  EXPECT_EQ(d.StationStarted, 0);
  // Increment 0 is taken as 1.0, everywhere it is kept.
  EXPECT_DOUBLE_EQ(d.StationIncrementInUse, 1.0);
  EXPECT_DOUBLE_EQ(d.SurveyStationIncrement, 1.0);
  EXPECT_DOUBLE_EQ(s.stationIncAuto, 1.0);
  EXPECT_EQ(s.lineName, "ABCDEFGHIJKLMNO");
  EXPECT_DOUBLE_EQ(s.lineIncrement, 2.5);
  EXPECT_EQ(s.lineSequence, 1);
  EXPECT_EQ(s.lineDirection, 3);
  EXPECT_EQ(s.component, 1);
  EXPECT_EQ(s.dipoleMode, 1);

  // Saved: a fresh load gives the same values back.
  ResetSettings();
  SaveLoadSettings(Load);
  EXPECT_DOUBLE_EQ(Config().startStation, 12.5);
  EXPECT_EQ(Config().lineName, "ABCDEFGHIJKLMNO");
  EXPECT_EQ(Config().component, 1);
}

TEST_F(SurveySetupForm, FieldsLeftAsShownKeepTheirExactValues) {
  Config().readingInterval = 0.3;  // shown as 3.33
  Config().lineIncrement = 0.126;  // shown as 0.13
  Drv().SurveyStartStation = 1.0004;
  SurveyForm opened = OpenSurveyForm();
  EXPECT_EQ(opened.readingsPerSecond, "3.33");
  EXPECT_EQ(opened.lineIncrement, "0.13");
  EXPECT_EQ(opened.startStation, "1.000");
  ASSERT_TRUE(ApplySurveyForm(opened, opened));
  EXPECT_DOUBLE_EQ(Config().readingInterval, 0.3);
  EXPECT_EQ(Drv().readingIntervalMs, 100);  // unchanged derived value of the untouched interval
  EXPECT_DOUBLE_EQ(Config().lineIncrement, 0.126);
  EXPECT_DOUBLE_EQ(Config().startStation, 1.0004);
}

TEST_F(SurveySetupForm, OpeningShowsTheSurveyValuesAndPutsTheirIncrementInUse) {
  Config().readingInterval = 0;  // a hand-edited file: shown as 1 reading per second
  Drv().SurveyStartStation = 3;
  Drv().SurveyStationIncrement = 0.5;
  Drv().StationIncrementInUse = 2;
  SurveyForm f = OpenSurveyForm();
  EXPECT_EQ(f.readingsPerSecond, "1.00");
  EXPECT_EQ(f.startStation, "3.000");
  EXPECT_EQ(f.stationIncrement, "0.500");
  EXPECT_DOUBLE_EQ(Drv().StationIncrementInUse, 0.5);
}

TEST_F(SurveySetupForm, SurveyValuesStartFromTheStoredStationValues) {
  Config().startStation = 7.25;
  Config().stationIncAuto = 0.5;
  SaveLoadSettings(Save);
  ResetSettings();
  SaveLoadSettings(Load);
  SurveyForm f = OpenSurveyForm();
  EXPECT_EQ(f.startStation, "7.250");
  EXPECT_EQ(f.stationIncrement, "0.500");
}

}  // namespace
}  // namespace obrix
