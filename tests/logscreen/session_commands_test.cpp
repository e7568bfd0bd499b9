// The session commands of the logging screen without a window: the state each one leaves, what it writes into
// a real data file, and what it asks the screen to show.
#include <gtest/gtest.h>

#include <string>

#include "datafile/data_file.h"
#include "logscreen/screen_texts.h"
#include "logscreen/session_commands.h"
#include "map/map_view_state.h"
#include "platform/files.h"
#include "platform/sound.h"
#include "platform/ticks.h"
#include "serial/reader_state.h"
#include "settings/settings.h"
#include "settings/settings_image.h"
#include "state/session.h"
#include "test_support.h"

namespace obrix {
namespace {

class SessionCommandsTest : public testing::Test {
 protected:
  void SetUp() override {
    clock_.Set(5000);
    clock_.Install();
    path_ = root_.dir().file("survey.T38");
  }
  void TearDown() override {
    ResetDataFile();
    ManualClock::Uninstall();
  }
  // A data file open in StandBy, as Open File leaves it.
  void OpenInStandBy() {
    AttachDataFile(OpenExclusive(path_, OpenMode::AppendCreate));
    ASSERT_TRUE(DataFileIsOpen());
    DataFile().DataFileBaseName = "survey";
    Sess().LoggingState = StandBy;
  }
  std::string Contents() { return test::ReadFile(path_); }
  // The text of event record i (the records of the file are 27 bytes).
  std::string Record(size_t i) { return Contents().substr(i * 27, 26); }
  size_t Records() { return Contents().size() / 27; }

  test::DataRootFixture root_;
  ManualClock clock_;
  std::string path_;
};

TEST_F(SessionCommandsTest, SetAWaitsForTheFirstFixOnlyForFileAndMapSize) {
  for (int gps : {0, 1}) {
    SCOPED_TRACE(gps);
    Config().gpsInput = gps;
    const SetAEnabled e = SetAAtEntry(Config());
    EXPECT_TRUE(e.exit);
    EXPECT_TRUE(e.menu);
    EXPECT_EQ(e.file, gps == 0);
    EXPECT_EQ(e.mapSize, gps == 0);
  }
}

TEST_F(SessionCommandsTest, OpenFileFollowsTheCreateResult) {
  struct Case {
    CreateResult result;
    int instrument;
    OpenFileNext next;
    int state;
    bool informs;
    bool offsetsCleared;
  } cases[] = {
      {CreateResult::Cancelled, 0, OpenFileNext::Nothing, NoFile, false, false},
      {CreateResult::New, 1, OpenFileNext::Shown, StandBy, false, false},
      {CreateResult::New, 0, OpenFileNext::Shown, StandBy, false, true},
      {CreateResult::Foreign, 0, OpenFileNext::Shown, StandBy, true, false},
      {CreateResult::Existing, 0, OpenFileNext::CheckAppend, NoFile, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.result) * 10 + c.instrument);
    ResetSession();
    Sess().LoggingState = NoFile;
    Config().instrumentEnabled = c.instrument;
    Config().lateralOffset = 1.5;
    Config().mapColourView = 1;
    const OpenFileStep step = AfterDataFileCreated(c.result);
    EXPECT_EQ(step.next, c.next);
    EXPECT_EQ(Sess().LoggingState.load(), c.state);
    EXPECT_EQ(Config().lateralOffset, c.offsetsCleared ? 0.0 : 1.5);
    EXPECT_EQ(Config().mapColourView, c.offsetsCleared ? 0 : 1);
    EXPECT_EQ(step.update.message.has_value(), c.informs);
    if (c.informs) EXPECT_STREQ(step.update.message->text, kForeignFileText);
    if (c.next == OpenFileNext::Shown) {
      EXPECT_EQ(step.update.buttons, ButtonSet::B);
      EXPECT_EQ(step.update.statusLines, (std::vector<StatusLine>{StatusLine::FileName, StatusLine::StandBy}));
    }
    EXPECT_EQ(step.update.navEnabled, c.next == OpenFileNext::Nothing ? std::nullopt : std::optional<bool>(true));
  }
}

TEST_F(SessionCommandsTest, ExistingFileContinuesWithAnAppendHeaderOrIsClosedWhenItsTrackDoesNotFit) {
  Config().gpsInput = 1;
  test::WriteFile(path_, "");
  AttachDataFile(OpenExclusive(path_, OpenMode::AppendCreate));
  Sess().LoggingState = NoFile;
  EXPECT_TRUE(ContinueExistingFile()) << "with the GPS the stored track is checked";
  ASSERT_GT(Records(), 0u);
  EXPECT_EQ(Contents()[0], 'o') << "the header of an appended session starts in lower case";
  EXPECT_EQ(Sess().LoggingState.load(), NoFile);
  const ScreenUpdate refused = StoredTrackTooLarge();
  EXPECT_FALSE(DataFileIsOpen());
  EXPECT_EQ(refused.navEnabled, false);
  EXPECT_FALSE(refused.buttons);
  EXPECT_EQ(Sess().LoggingState.load(), NoFile);
  EXPECT_EQ(ExistingFileOpened().buttons, ButtonSet::B);
  EXPECT_EQ(Sess().LoggingState.load(), StandBy);
}

TEST_F(SessionCommandsTest, GoIsRefusedAfterTheOverflowWarningAndLeavesReviewFirst) {
  struct Case {
    MapOverflow overflow;
    bool review;
    bool refused;
  } cases[] = {
      {MapOverflow::None, false, false},
      {MapOverflow::AtPageEdge, false, false},
      {MapOverflow::None, true, false},
      {MapOverflow::Warned, true, true},
  };
  for (const Case& c : cases) {
    Session s;
    s.MapOverflowState = c.overflow;
    s.ReviewMode = c.review;
    const GoPlan plan = PlanGo(s);
    EXPECT_EQ(plan.refusal.has_value(), c.refused);
    EXPECT_EQ(plan.leaveReview, c.review && !c.refused);
    if (c.refused) {
      EXPECT_STREQ(plan.refusal->text, kCannotStartText);
      EXPECT_STREQ(plan.refusal->cue, kSoundRing);
    }
  }
}

TEST_F(SessionCommandsTest, GoAndPauseRecordTheirEventsAndSwitchTheButtons) {
  OpenInStandBy();
  Drv().ReadingsPerInterval = 4;
  Sess().MapVisible = true;
  const ScreenUpdate go = StartLogging(TickMs());
  EXPECT_EQ(Sess().LoggingState.load(), Logging);
  EXPECT_EQ(Sess().LoggingStartTick.load(), 5000u);
  EXPECT_EQ(Sess().RecordingStartTick, 5000u);
  EXPECT_EQ(Readers().GpsRecordingOn.load(), 1);
  EXPECT_EQ(Readers().Em38PostEvery.load(), 4);
  EXPECT_EQ(go.buttons, ButtonSet::Pause);
  EXPECT_EQ(go.navEnabled, false);
  EXPECT_EQ(go.pausePrompt, Logging);
  EXPECT_EQ(go.statusLines, std::vector<StatusLine>{StatusLine::Logging});
  ASSERT_EQ(Records(), 1u);
  EXPECT_NE(Record(0).find("$STARTED"), std::string::npos) << Record(0);

  // Pause at the page edge: "PAUSED BMP", and the operator is warned once.
  clock_.Set(7000);
  Sess().RecordedTime = 2000;
  Sess().MapOverflowState = MapOverflow::AtPageEdge;
  const ScreenUpdate pause = PauseLogging();
  EXPECT_EQ(Sess().LoggingState.load(), StandBy);
  EXPECT_EQ(Sess().RecordedTimeBefore, 2000u);
  EXPECT_EQ(Readers().Em38PostEvery.load(), 1);
  EXPECT_EQ(pause.buttons, ButtonSet::B);
  EXPECT_EQ(pause.navEnabled, true);
  EXPECT_EQ(pause.pausePrompt, StandBy);
  EXPECT_EQ(Sess().MapOverflowState, MapOverflow::Warned);
  ASSERT_TRUE(pause.message);
  EXPECT_STREQ(pause.message->text, kIncreaseMapText);
  EXPECT_STREQ(pause.message->cue, kSoundRing2s);
  ASSERT_EQ(Records(), 2u);
  EXPECT_NE(Record(1).find("PAUSED BMP"), std::string::npos) << Record(1);

  // A plain pause without the map: no warning, the nav buttons left as they are.
  StartLogging(TickMs());
  Sess().MapOverflowState = MapOverflow::None;
  Sess().MapVisible = false;
  const ScreenUpdate plain = PauseLogging();
  EXPECT_FALSE(plain.message);
  EXPECT_FALSE(plain.navEnabled);
  ASSERT_EQ(Records(), 4u);
  EXPECT_NE(Record(3).find("PAUSED"), std::string::npos);
  EXPECT_EQ(Record(3).find("BMP"), std::string::npos) << Record(3);
}

TEST_F(SessionCommandsTest, QuickLineAsksForTheNextLineAndStartsIt) {
  Config().instrumentEnabled = 0;
  EXPECT_STREQ(PlanQuickLine(Config()).refusal->text, kNeedsInstrumentText);
  Config().instrumentEnabled = 1;
  Config().lineName = "7";
  Config().lineIncrement = 1.0;
  Config().lineSequence = 0;  // alternate
  Config().lineDirection = 2;
  Config().startStation = 0.0;
  Drv().StationValue = 12.0;
  Drv().StationIncrementInUse = 1.0;
  Sess().LineReadingCount = 9;
  const QuickLineStep step = PlanQuickLine(Config());
  EXPECT_FALSE(step.refusal);
  EXPECT_EQ(step.question, "New Line: 8.00");
  OpenInStandBy();
  AcceptQuickLine();
  EXPECT_EQ(Config().lineName, "8.00");
  EXPECT_EQ(Sess().LineReadingCount, 0);
  EXPECT_EQ(Config().startStation, 12.0);
  EXPECT_EQ(Drv().StationIncrementInUse, -1.0);
  EXPECT_EQ(Config().lineDirection, 1);
  EXPECT_EQ(Records(), 5u) << "line block and time mark";
  EXPECT_EQ(Record(0).substr(0, 5), "L8.00");
}

TEST_F(SessionCommandsTest, ExitLeavesReviewWithTheLiveMapAndReturnsToSetup) {
  Config().mapSize = 55;
  Config().mapColourView = 0;
  MapState().PixelsPerUnit = 3.0;
  MapState().SavedMapSize = 40;
  MapState().SavedPixelsPerUnit = 5.0;
  MapState().SavedColourView = 1;
  Sess().ReviewMode = true;
  EXPECT_TRUE(AfterSessionEnded());
  EXPECT_FALSE(Sess().ReviewMode);
  EXPECT_EQ(Config().mapSize, 40);
  EXPECT_EQ(MapState().PixelsPerUnit, 5.0);
  EXPECT_EQ(Config().mapColourView, 1);
  // Outside review the map stays as it is.
  Config().mapSize = 60;
  EXPECT_FALSE(AfterSessionEnded());
  EXPECT_EQ(Config().mapSize, 60);

  Drv().SurveyStartStation = 3.0;
  Drv().StationValue = 20.0;
  Drv().StationStarted = 1;
  Sess().ActiveScreen = 1;
  EXPECT_EQ(ReturnToSetupScreen().buttons, ButtonSet::A);
  EXPECT_EQ(Drv().StationValue, 3.0);
  EXPECT_EQ(Drv().StationStarted, 0);
  EXPECT_EQ(Sess().ActiveScreen, 0);
}

TEST_F(SessionCommandsTest, TheSettingsFileKeepsTheLiveMapSizeInReview) {
  KeepLiveMapSizeInSettingsFile();
  MapState().SavedMapSize = 40;
  Config().mapSize = 55;
  const auto mapSizeLine = [] {
    std::string image = SettingsImage();
    for (int line = 1; line < 65; ++line) image.erase(0, image.find("\r\n") + 2);
    return image.substr(0, image.find("\r\n"));
  };
  EXPECT_EQ(mapSizeLine(), "55");
  Sess().ReviewMode = true;
  EXPECT_EQ(mapSizeLine(), "40");
  EXPECT_EQ(Config().mapSize, 55) << "the zoomed size stays in force";
}

}  // namespace
}  // namespace obrix
