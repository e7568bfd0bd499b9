#include "logscreen/screen_texts.h"

#include <gtest/gtest.h>

#include "logscreen/logging_input.h"
#include "state/session.h"

namespace obrix {
namespace {

TEST(ScreenTexts, StateTextsByStateAndMode) {
  struct Case {
    int state, mode;
    const char* text;
  } cases[] = {
      {NoFile, 0, "Monitoring (Auto)"},   {NoFile, 2, "Monitoring (Manual)"}, {StandBy, 0, "Stand By (Auto)"},
      {StandBy, 1, "Stand By (Wheel)"},   {Logging, 0, "Logging (Auto)"},     {Logging, 2, "Logging (Manual)"},
      {Logging, 7, "Logging (Auto)"},     {Closed, 0, ""},
  };
  for (const Case& c : cases) EXPECT_EQ(StateText(c.state, c.mode), c.text) << c.state << "/" << c.mode;
}

TEST(ScreenTexts, MapTitleLiveAndReview) {
  struct Case {
    bool review;
    int view, component, dipole;
    const char* text;
  } cases[] = {
      {false, 0, 0, 0, "            "},        {false, 1, 0, 0, "Conductivity VDM"}, {false, 1, 0, 1, "Conductivity HDM"},
      {false, 1, 1, 0, "Inphase VDM"},         {false, 1, 1, 1, "Inphase HDM"},      {false, 2, 0, 0, ""},
      {false, 1, 2, 0, ""},                    {true, 0, 0, 0, "            "},      {true, 1, 1, 1, "Review Conductivity"},
      {true, 2, 0, 0, "Review Inphase"},       {true, 3, 0, 0, ""},
  };
  for (const Case& c : cases)
    EXPECT_EQ(MapTitleText(c.review, c.view, c.component, c.dipole), c.text) << c.review << c.view << c.component;
}

TEST(ScreenTexts, LabelsChosenBySettings) {
  EXPECT_EQ(DopLabel(1, 0), "HDOP:");
  EXPECT_EQ(DopLabel(3, 0), "GDOP:");
  EXPECT_EQ(DopLabel(4, 1), "GDOP:");
  EXPECT_EQ(DopLabel(7, 1), "SLAM Conf.:");
  EXPECT_EQ(DopLabel(7, 0), "PDOP:");
  EXPECT_EQ(DopLabel(0, 0), "PDOP:");
  EXPECT_TRUE(GridCoordinateLabels(1, 0));
  EXPECT_TRUE(GridCoordinateLabels(0, 7));
  EXPECT_FALSE(GridCoordinateLabels(0, 6));
  EXPECT_FALSE(ShowsSatellites(7));
  EXPECT_FALSE(ShowsSatellites(8));
  EXPECT_TRUE(ShowsSatellites(1));
  EXPECT_FALSE(DopNotAvailableAtRepaint(7, 1));
  EXPECT_TRUE(DopNotAvailableAtRepaint(7, 0));
  EXPECT_EQ(MapCaptionText(0, 40), "Map Size:   40 m");
  EXPECT_EQ(MapCaptionText(1, 120), "Map Size:  120 ft");
  EXPECT_EQ(MapCaptionText(2, 99999), "Map Size:99999 US-ft");
  EXPECT_EQ(FileLineText(false, "X"), "File:        ");
  EXPECT_EQ(FileLineText(true, "SURVEY01"), "File: SURVEY01");
  EXPECT_EQ(CondScaleText(499.6), "500mS/m");
  EXPECT_EQ(InphScaleText(-25), "-25ppt");
  EXPECT_EQ(PausePromptSecondLine(0), "press any key to pause");
  EXPECT_EQ(PausePromptSecondLine(1), "press <ENTER> to pause");
  EXPECT_EQ(PausePromptSecondLine(2), "<Space Bar> to pause");
  EXPECT_EQ(PausePromptSecondLine(3), "press key <P> pause");
  EXPECT_TRUE(WriteErrorText(0).empty());
  EXPECT_NE(WriteErrorText(3).find('3'), std::string::npos);
}

TEST(ScreenTexts, MenuFormsByState) {
  const auto noFile = LoggingMenu(NoFile);
  const auto standBy = LoggingMenu(StandBy);
  ASSERT_EQ(standBy.size(), noFile.size() + 4);
  EXPECT_EQ(noFile.front().id, kMenuMapSize);
  EXPECT_EQ(noFile.back().id, kMenuHideMenu);
  EXPECT_EQ(standBy[0].id, kMenuNewLine);
  EXPECT_EQ(standBy[1].id, kMenuNewStation);
  EXPECT_EQ(standBy[2].id, kMenuComment);
  EXPECT_EQ(standBy[3].id, 0);
  // Separators after Scale Speed Bar, Audio Options, Toggle View, Coordinates Display Units and Remove
  // Background Files.
  std::vector<int> before;
  for (size_t i = 1; i < noFile.size(); ++i)
    if (noFile[i].id == 0) before.push_back(noFile[i - 1].id);
  EXPECT_EQ(before, (std::vector<int>{kMenuScaleSpeedBar, kMenuAudioOptions, kMenuToggleView,
                                      kMenuCoordinatesDisplayUnits, kMenuRemoveBackgroundFiles}));
}

TEST(ScreenTexts, QuickLineAlternateTwiceRestoresDirectionAndSign) {
  // Line ends at station 47.5 going north with +0.5.
  LineChange a = QuickLineChange(0, 47.5, 0.0, 0.5, 2);
  EXPECT_DOUBLE_EQ(a.station, 47.5);
  EXPECT_DOUBLE_EQ(a.startStation, 47.5);
  EXPECT_DOUBLE_EQ(a.stationIncrement, -0.5);
  EXPECT_EQ(a.lineDirection, 1);
  LineChange b = QuickLineChange(0, 30.0, a.startStation, a.stationIncrement, a.lineDirection);
  EXPECT_DOUBLE_EQ(b.stationIncrement, 0.5);
  EXPECT_EQ(b.lineDirection, 2);
  // One Way restarts at the start station and keeps direction and increment.
  LineChange c = QuickLineChange(1, 47.5, 3.0, 0.5, 0);
  EXPECT_DOUBLE_EQ(c.station, 3.0);
  EXPECT_DOUBLE_EQ(c.stationIncrement, 0.5);
  EXPECT_EQ(c.lineDirection, 0);
}

}  // namespace
}  // namespace obrix
