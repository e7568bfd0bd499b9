// The writers on a real file: header and line blocks from the settings, the logging-start rule, counted
// failures and two threads appending at once.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <string>
#include <thread>
#include <unistd.h>

#include "datafile/data_file.h"
#include "datafile/record_reader.h"
#include "datafile/writers.h"
#include "gps/fix_state.h"
#include "gps/projection.h"
#include "platform/files.h"
#include "platform/ticks.h"
#include "settings/settings.h"
#include "state/session.h"
#include "test_support.h"

namespace obrix {
namespace {

class WritersTest : public testing::Test {
 protected:
  void SetUp() override {
    ResetDataFile();
    ResetSession();
    ResetFix();
    ResetUtmZones();
    clock_.Set(5000);
    clock_.Install();
    SetLocalClock([] {
      LocalTime t;
      t.year = 2026, t.month = 3, t.day = 1, t.hour = 14, t.minute = 2, t.second = 3, t.millisecond = 4;
      return t;
    });
    path_ = root_.dir().file("survey.T38");
  }
  void TearDown() override {
    ResetDataFile();
    ResetUtmZones();
    ManualClock::Uninstall();
    SetLocalClock(nullptr);
  }
  void Open(const std::string& baseName) {
    AttachDataFile(OpenExclusive(path_, OpenMode::AppendCreate));
    ASSERT_TRUE(DataFileIsOpen());
    DataFile().DataFileBaseName = baseName;
  }
  std::string Contents() { return test::ReadFile(path_); }
  // Record `i` of the file without its line feed.
  std::string Record(const std::string& all, size_t i) { return all.substr(i * 27, 26); }

  test::DataRootFixture root_;
  ManualClock clock_;
  std::string path_;
};

TEST_F(WritersTest, NewFileBlockFromSettings) {
  Settings& s = Config();
  s.lineName = "7";
  s.startStation = 2.5;
  s.lineDirection = 0;
  Drv().StationIncrementInUse = -0.5;
  Fix().MapStarted = 1;
  Fix().MapOrigin = {500123.5, 4800000.25};
  UtmZones().UtmZone = 17;
  UtmZones().UtmZoneInUse = 18;
  Open("260301_000");
  EXPECT_TRUE(WriteHeaderBlock(0));
  EXPECT_TRUE(WriteLineBlock());
  EXPECT_TRUE(WriteTimeMark());
  std::string all = Contents();
  ASSERT_EQ(all.size(), 10u * 27);
  EXPECT_EQ(Record(all, 0).substr(0, 22), "OBX38   W215GPS00000 1");
  EXPECT_EQ(Record(all, 3), "G    500123.500 17        ");
  EXPECT_EQ(Record(all, 4), "G   4800000.250           ");
  EXPECT_EQ(Record(all, 5), "L7                        ");
  EXPECT_EQ(Record(all, 6), "B       2.50              ");
  EXPECT_EQ(Record(all, 7), "AW           -0.500       ");
  EXPECT_EQ(Record(all, 8), "Z01032026 14:02:03        ");
  EXPECT_EQ(Record(all, 9), "*14:02:03.004         5000");
  EXPECT_EQ(DataFile().LongBaseName, 0);
}

TEST_F(WritersTest, HeaderIntervalIsNeverShorterThanOneInstrumentRecord) {
  const double period = Drv().InstrumentPeriodMs;
  struct {
    double interval, periodMs;
    int instrumentEnabled;
    const char* field;
  } cases[] = {
      {0.05, 91, 1, "  0.091"},
      {0.05, 72, 1, "  0.072"},
      {0.2, 91, 1, "  0.200"},
      {0.05, 91, 0, "  0.050"},  // no readings in a GPS-only survey
  };
  for (const auto& c : cases) {
    ResetDataFile();
    ::unlink(path_.c_str());
    Config().readingInterval = c.interval;
    Config().instrumentEnabled = c.instrumentEnabled;
    Drv().InstrumentPeriodMs = c.periodMs;
    Open("A");
    WriteHeaderBlock(0);
    EXPECT_EQ(Record(Contents(), 1).substr(11, 7), c.field) << c.interval << " " << c.periodMs;
  }
  Drv().InstrumentPeriodMs = period;
}

TEST_F(WritersTest, OriginIsZeroBeforeTheFirstFix) {
  Fix().MapOrigin = {1.0, 2.0};  // left over, not started
  Open("A");
  WriteHeaderBlock(1);
  std::string all = Contents();
  EXPECT_EQ(all[0], 'o');
  EXPECT_EQ(Record(all, 3).substr(0, 15), "G         0.000");
  EXPECT_EQ(Record(all, 4).substr(0, 15), "G         0.000");
}

TEST_F(WritersTest, BaseNameOverflowGoesToEveryLineRecord) {
  struct {
    std::string base;
    std::string nameField;
    std::string lineTail;
  } cases[] = {
      {"ABCDEFGHIJ", "ABCDEFGHIJ", "             "},
      {"ABCDEFGHIJKLMNO", "ABCDEFGHIJ", "KLMNO        "},
      {"ABCDEFGHIJKLMNOPQRSTUVWXYZ", "ABCDEFGHIJ", "KLMNOPQRST   "},
  };
  for (const auto& c : cases) {
    ResetDataFile();
    ::unlink(path_.c_str());
    Config().lineName = "LINE";
    Open(c.base);
    WriteHeaderBlock(0);
    WriteLineBlock();
    WriteLineBlock();
    std::string all = Contents();
    EXPECT_EQ(Record(all, 1).substr(1, 10), c.nameField) << c.base;
    EXPECT_EQ(Record(all, 5), "LLINE        " + c.lineTail) << c.base;
    EXPECT_EQ(Record(all, 9), Record(all, 5)) << c.base;
  }
}

TEST_F(WritersTest, SentenceGroupsBeforeLoggingStartAreDropped) {
  Open("A");
  struct {
    uint32_t start, tick;
    bool written;
  } cases[] = {
      {1000, 999, false}, {1000, 1000, true}, {1000, 1001, true},
      {0xFFFFFF00u, 0x10u, true},          // the tick counter wrapped after logging started
      {0x10u, 0xFFFFFF00u, false},         // received before the wrap, logging started after it
  };
  size_t expected = 0;
  for (const auto& c : cases) {
    Sess().LoggingStartTick = c.start;
    EXPECT_TRUE(WriteGpsSentence("$GPGGA", c.tick, '@', '#', '!', ' ', 1));
    if (c.written) expected += 2 * 27;
    EXPECT_EQ(Contents().size(), expected) << c.start << " " << c.tick;
  }
}

TEST_F(WritersTest, NothingIsWrittenWithoutAFileAndFailuresAreCounted) {
  EXPECT_FALSE(WriteEventRecord("PAUSED", 'X'));
  EXPECT_FALSE(WriteGpsSentence("$GPGGA", 6000, '@', '#', '!', ' ', 1));
  EXPECT_EQ(DataFile().DataFileWriteErrors, 0u);

  // A descriptor that cannot be written: every write is counted, none is silent.
  test::WriteFile(path_, "");
  AttachDataFile(::open(path_.c_str(), O_RDONLY));
  EXPECT_FALSE(WriteEventRecord("PAUSED", 'X'));
  EXPECT_FALSE(WriteSwathRecord('{', 1, 1, 2, 3, 4));
  EXPECT_EQ(DataFile().DataFileWriteErrors, 2u);
  EXPECT_EQ(LastDataFileError(), EBADF);
}

TEST_F(WritersTest, FullDiskIsCounted) {
  int fd = ::open("/dev/full", O_WRONLY | O_APPEND);
  if (fd < 0) GTEST_SKIP() << "no /dev/full";
  AttachDataFile(fd);
  EXPECT_FALSE(WriteTimeMark());
  EXPECT_EQ(DataFile().DataFileWriteErrors, 1u);
  EXPECT_EQ(LastDataFileError(), ENOSPC);
  ResetDataFile();
}

TEST_F(WritersTest, TwoThreadsNeverInterleaveInsideAGroup) {
  Open("A");
  constexpr int kGroups = 400;
  // The GPS thread writes sentence groups of 3 lines + trailer; the window thread writes corner sets and
  // readings. Each must stay contiguous.
  std::thread gps([] {
    std::string text(60, 'g');
    for (int i = 0; i < kGroups; ++i) WriteGpsSentence(text, 6000, '@', '#', '!', ' ', i);
  });
  for (int i = 0; i < kGroups; ++i) {
    WriteSwathRecord('{', 1, i, i, i, i);
    WriteReadingRecord("T<-0123", 7);
  }
  gps.join();
  CloseDataFile();

  int fd = ::open(path_.c_str(), O_RDONLY);
  RecordReader reader(fd);
  ASSERT_EQ(reader.Count(), kGroups * (4 + 4 + 1));
  DataRecord r;
  int groups = 0, sets = 0;
  while (reader.Next(r)) {
    if (r.kind() == '@') {
      DataRecord a, b, t;
      ASSERT_TRUE(reader.Next(a) && reader.Next(b) && reader.Next(t));
      EXPECT_EQ(std::string() + a.kind() + b.kind() + t.kind(), "##!");
      ++groups;
    } else if (r.kind() == '{') {
      DataRecord b, c, d;
      ASSERT_TRUE(reader.Next(b) && reader.Next(c) && reader.Next(d));
      EXPECT_EQ(std::string() + r.at(1) + b.at(1) + c.at(1) + d.at(1), "abcd");
      ++sets;
    } else {
      EXPECT_EQ(r.kind(), 'T');
    }
  }
  ::close(fd);
  EXPECT_EQ(groups, kGroups);
  EXPECT_EQ(sets, kGroups);
  EXPECT_EQ(DataFile().DataFileWriteErrors, 0u);
}

TEST_F(WritersTest, SyncerRunsWhileOpenAndStopsOnClose) {
  Open("A");
  WriteTimeMark();
  std::this_thread::sleep_for(std::chrono::milliseconds(kDataFileSyncIntervalMs + 300));
  EXPECT_EQ(DataFile().DataFileWriteErrors, 0u);
  CloseDataFile();
  EXPECT_FALSE(DataFileIsOpen());
  EXPECT_FALSE(WriteTimeMark());
  EXPECT_EQ(Contents().size(), 27u);
}

}  // namespace
}  // namespace obrix
