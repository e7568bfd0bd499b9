// New line proposals and entries, new stations and comments written to the data file.
#include <gtest/gtest.h>

#include <string>

#include "datafile/data_file.h"
#include "dialogs/line_station.h"
#include "platform/files.h"
#include "platform/ticks.h"
#include "settings/settings.h"
#include "test_support.h"

namespace obrix {
namespace {

TEST(GetNewLineTest, NextNameIsTheLeadingNumberPlusTheIncrement) {
  const struct { const char* name; double inc; const char* next; } cases[] = {
      {"1", 1, "2.00"}, {"A", 1, "1.00"}, {"12B", 0.5, "12.50"}, {"", 2, "2.00"},
      {"-3", 1, "-2.00"}, {"7.25", -0.25, "7.00"}, {"nan", 1, "1.00"},
  };
  for (const auto& c : cases) EXPECT_EQ(NextLineName(c.name, c.inc), c.next) << c.name;
}

class GetNewLineStateTest : public testing::Test {
 protected:
  void SetUp() override {
    Settings& s = Config();
    s.lineName = "4";
    s.lineIncrement = 1;
    s.lineDirection = 2;  // North
    s.startStation = 10;
    Drv().StationValue = 47.5;
    Drv().StationIncrementInUse = 0.5;
  }
  test::DataRootFixture root_;
};

TEST_F(GetNewLineStateTest, AlternateLinesStartWhereTheLastEndedAndGoBack) {
  const struct { int sequence, direction; double start, increment; } cases[] = {
      {0, 1, 47.5, -0.5},  // Alternate: South, from the last station, increment reversed
      {1, 2, 10.0, 0.5},   // One Way: as the line was
  };
  for (const auto& c : cases) {
    Config().lineName = "4";
    Config().lineSequence = c.sequence;
    NewLineProposal p = ProposeNewLine();
    EXPECT_EQ(p.currentLine, "4");
    EXPECT_EQ(p.nextLine, "5.00");
    EXPECT_EQ(Config().lineName, "5.00");  // replaced at opening
    EXPECT_EQ(p.sequence, c.sequence);
    EXPECT_EQ(p.direction, c.direction) << c.sequence;
    EXPECT_DOUBLE_EQ(p.startStation, c.start) << c.sequence;
    EXPECT_DOUBLE_EQ(p.stationIncrement, c.increment) << c.sequence;
    EXPECT_DOUBLE_EQ(p.lastStation, 47.5);
  }
  const int opposite[] = {3, 2, 1, 0};
  for (int d = 0; d < 4; ++d) EXPECT_EQ(OppositeDirection(d), opposite[d]);
}

TEST_F(GetNewLineStateTest, OkStoresTheEntries) {
  Drv().StationStarted = 1;
  ApplyNewLine({"ABCDEFGHIJKLMN", "2", 1, 3, "47.500", "-0.500"});
  const Settings& s = Config();
  EXPECT_EQ(s.lineName, "ABCDEFGHIJKL");
  EXPECT_DOUBLE_EQ(s.lineIncrement, 2);
  EXPECT_EQ(s.lineSequence, 1);
  EXPECT_EQ(s.lineDirection, 3);
  EXPECT_DOUBLE_EQ(s.startStation, 47.5);
  EXPECT_DOUBLE_EQ(Drv().StationValue, 47.5);
  EXPECT_DOUBLE_EQ(Drv().StationIncrementInUse, -0.5);
  EXPECT_EQ(Drv().StationStarted, 0);
  // Characters, not bytes: a name of 13 accented letters keeps 12 of them.
  std::string accented;
  for (int i = 0; i < 13; ++i) accented += "\xC3\xA9";
  ApplyNewLine({accented, "1", 0, 0, "0", "1"});
  EXPECT_EQ(Config().lineName, accented.substr(0, 24));
}

class NewStationTest : public testing::Test {
 protected:
  void SetUp() override {
    ResetDataFile();
    clock_.Set(1000);
    clock_.Install();
    SetLocalClock([] {
      LocalTime t;
      t.year = 2026, t.month = 3, t.day = 1, t.hour = 9, t.minute = 8, t.second = 7, t.millisecond = 6;
      return t;
    });
    path_ = root_.dir().file("line.T38");
    AttachDataFile(OpenExclusive(path_, OpenMode::AppendCreate));
    ASSERT_TRUE(DataFileIsOpen());
  }
  void TearDown() override {
    ResetDataFile();
    ManualClock::Uninstall();
    SetLocalClock(nullptr);
  }
  test::DataRootFixture root_;
  ManualClock clock_;
  std::string path_;
};

TEST_F(NewStationTest, StationAndTimeMarkRecords) {
  const struct { const char* text; double station; } cases[] = {{"12.5", 12.5}, {"", 0.0}, {"x", 0.0}};
  for (const auto& c : cases) {
    const size_t before = test::ReadFile(path_).size();
    Drv().StationStarted = 1;
    ApplyNewStation(c.text);
    EXPECT_DOUBLE_EQ(Drv().StationValue, c.station) << c.text;
    EXPECT_EQ(Drv().StationStarted, 0);
    const std::string added = test::ReadFile(path_).substr(before);
    ASSERT_EQ(added.size(), 2u * 27) << c.text;
    EXPECT_EQ(added[0], 'S');
    EXPECT_DOUBLE_EQ(std::stod(added.substr(1, 11)), c.station);
  }
}

TEST_F(NewStationTest, CommentKeepsElevenCharacters) {
  ApplyComment("ROCK OUTCROP NEAR FENCE");
  const std::string all = test::ReadFile(path_);
  ASSERT_EQ(all.size(), 27u);
  EXPECT_EQ(all[0], 'C');
  EXPECT_NE(all.find("ROCK OUTCRO"), std::string::npos);
  EXPECT_EQ(all.find("ROCK OUTCROP"), std::string::npos);
}

}  // namespace
}  // namespace obrix
