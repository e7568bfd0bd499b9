// A data file stays a whole number of records when appends fail or are cut short: an injected write call
// that fails or writes part of its bytes at chosen moments, and a real filesystem that runs full.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <functional>
#include <map>
#include <string>
#include <sys/mount.h>
#include <unistd.h>
#include <vector>

#include "datafile/data_file.h"
#include "datafile/record_reader.h"
#include "datafile/records.h"
#include "datafile/survey_events.h"
#include "datafile/writers.h"
#include "platform/files.h"
#include "platform/ticks.h"
#include "state/session.h"
#include "test_support.h"

namespace obrix {
namespace {

// What the write call does on a given call (counted from 0); calls not listed write everything.
struct WriteFault {
  enum Kind { Fail, Short } kind = Fail;
  size_t bytes = 0;  // Short: bytes that reach the file (may be 0)
};

class ScriptedWriteCall {
 public:
  explicit ScriptedWriteCall(std::map<int, WriteFault> faults) : faults_(std::move(faults)) {
    SetDataFileWriteCall([this](int fd, const void* data, size_t size) -> ssize_t {
      auto it = faults_.find(calls_++);
      if (it == faults_.end()) return ::write(fd, data, size);
      if (it->second.kind == WriteFault::Fail) {
        errno = ENOSPC;
        return -1;
      }
      return ::write(fd, data, std::min(size, it->second.bytes));
    });
  }
  ~ScriptedWriteCall() { SetDataFileWriteCall(nullptr); }
  int calls() const { return calls_; }

 private:
  std::map<int, WriteFault> faults_;
  int calls_ = 0;
};

// One item of a survey as the writers append it: a reading, a sentence group or a corner set.
struct Item {
  std::function<bool()> write;
  std::string bytes;  // what it adds to the file when written whole
};

std::vector<Item> SurveyItems() {
  std::vector<Item> items;
  for (int i = 0; i < 4; ++i) {
    const uint32_t tick = 6000u + static_cast<uint32_t>(i) * 100u;
    const std::string reading = "T<-0" + std::to_string(100 + i);
    items.push_back({[=] { return WriteReadingRecord(reading, tick); }, ReadingRecord(reading, tick)});
    const std::string sentence = "$GPGGA,120000.00,4530.0000,N,07330.0000,W,1,08,0.9,10.0,M,,M,,*" +
                                 std::to_string(10 + i);
    items.push_back({[=] { return WriteGpsSentence(sentence, tick, '@', '#', '!', 'p', i); },
                     SentenceGroup(sentence, tick, '@', '#', '!', 'p', i)});
    const double v = 100.0 + i;
    items.push_back({[=] { return WriteSwathRecord('{', 1, v, v + 1, v + 2, v + 3); },
                     SwathBlock('{', 1, v, v + 1, v + 2, v + 3)});
  }
  return items;
}

class WholeRecordsTest : public testing::Test {
 protected:
  void SetUp() override {
    ResetDataFile();
    ResetSession();
    path_ = root_.dir().file("survey.T38");
  }
  void TearDown() override {
    SetDataFileWriteCall(nullptr);
    ResetDataFile();
  }
  void Open(const std::string& initial = "") {
    test::WriteFile(path_, initial);
    AttachDataFile(OpenExclusive(path_, OpenMode::AppendCreate));
    ASSERT_TRUE(DataFileIsOpen());
  }

  test::DataRootFixture root_;
  std::string path_;
};

// Every record of the file read back in order, with nothing skipped: the readers of the redraws and the
// tools see the records written after a failure in their places.
void ExpectReadsWhole(const std::string& path, const std::string& lastReading) {
  int fd = ::open(path.c_str(), O_RDONLY);
  ASSERT_GE(fd, 0);
  SurveyEventReader events(fd, SurveyEventOptions{true});
  SurveyEvent e;
  std::string last;
  while (events.Next(e))
    if (e.kind == SurveyEventKind::Reading) last = std::string(TrimRight(e.text));
  EXPECT_FALSE(events.failed());
  EXPECT_EQ(events.skipped(), 0);
  EXPECT_EQ(last, lastReading);
  RecordReader records(fd);
  DataRecord r;
  ASSERT_TRUE(records.ReadAt(records.Count() - 1, r));
  EXPECT_NE(std::string("T!{").find(r.kind()), std::string::npos) << r.text();
  ::close(fd);
}

TEST_F(WholeRecordsTest, FailedOrShortAppendLeavesNoPartOfItsItem) {
  const std::vector<Item> items = SurveyItems();
  // Item 3 is the second reading, 4 the second sentence group (3 lines and a trailer), 5 the second corner set.
  struct Case {
    const char* what;
    int item;
    WriteFault fault;
  } cases[] = {
      {"reading fails", 3, {WriteFault::Fail, 0}},
      {"reading short", 3, {WriteFault::Short, 19}},
      {"group fails", 4, {WriteFault::Fail, 0}},
      {"group short inside a line", 4, {WriteFault::Short, 40}},
      {"group short on a line boundary", 4, {WriteFault::Short, 54}},
      {"group short by its trailer", 4, {WriteFault::Short, items[4].bytes.size() - 27}},
      {"corner set short", 5, {WriteFault::Short, 100}},
      {"nothing written", 5, {WriteFault::Short, 0}},
  };
  ASSERT_GT(items[4].bytes.size(), 3u * 27);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ResetDataFile();
    const std::string before = "OBX38 and older records \n";  // the file's own bytes are never touched
    Open(before);
    std::string expected = before;
    {
      ScriptedWriteCall call({{c.item, c.fault}});
      for (size_t i = 0; i < items.size(); ++i) {
        const bool ok = items[i].write();
        EXPECT_EQ(ok, static_cast<int>(i) != c.item) << i;
        if (ok) expected += items[i].bytes;
      }
    }
    EXPECT_EQ(DataFile().DataFileWriteErrors, 1u);
    EXPECT_EQ(test::ReadFile(path_), expected);
  }
}

TEST_F(WholeRecordsTest, FailuresInARowThenSpaceReturns) {
  const std::vector<Item> items = SurveyItems();
  Open(ReadingRecord("T<-0001", 1));
  std::string expected = test::ReadFile(path_);
  {
    ScriptedWriteCall call({{1, {WriteFault::Short, 30}},
                            {2, {WriteFault::Fail, 0}},
                            {3, {WriteFault::Short, 1}},
                            {4, {WriteFault::Short, 26}}});
    for (size_t i = 0; i < items.size(); ++i)
      if (items[i].write()) expected += items[i].bytes;
  }
  EXPECT_EQ(DataFile().DataFileWriteErrors, 4u);
  EXPECT_EQ(LastDataFileError(), ENOSPC);
  CloseDataFile();
  const std::string all = test::ReadFile(path_);
  EXPECT_EQ(all, expected);
  EXPECT_EQ(all.size() % RecordLength, 0u);
  ExpectReadsWhole(path_, "T<-0103");
}

TEST_F(WholeRecordsTest, IncompleteTailIsMeasuredAndDropped) {
  const std::string three = ReadingRecord("T<-0001", 1) + ReadingRecord("T<-0002", 2) + ReadingRecord("T<-0003", 3);
  struct {
    std::string contents;
    long tail;
    size_t kept;
  } cases[] = {
      {three, 0, three.size()},
      {three + "T<-0004   ", 10, three.size()},
      {three.substr(0, 27 + 26), 26, 27},
      {"OBX38", 0, 5},           // shorter than a record: left as it is
      {"", 0, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.contents.size());
    ResetDataFile();
    Open(c.contents);
    EXPECT_EQ(IncompleteTailBytes(), c.tail);
    EXPECT_TRUE(DropIncompleteTail());
    EXPECT_EQ(IncompleteTailBytes(), 0);
    EXPECT_TRUE(WriteReadingRecord("T<-0009", 9));
    CloseDataFile();
    EXPECT_EQ(test::ReadFile(path_), c.contents.substr(0, c.kept) + ReadingRecord("T<-0009", 9));
  }
  EXPECT_EQ(IncompleteTailBytes(), 0);  // no file open
}

// A small tmpfs: the survey fills it, a filler file is removed, and logging goes on. Needs root for the mount.
TEST_F(WholeRecordsTest, RealFullFilesystem) {
  if (::geteuid() != 0) GTEST_SKIP() << "needs root to mount a small tmpfs; the full-disk case is not run";
  test::TempDir mountPoint;
  const std::string dir = mountPoint.path();
  if (::mount("tmpfs", dir.c_str(), "tmpfs", 0, "size=64k") != 0)
    GTEST_SKIP() << "cannot mount a tmpfs here (" << std::strerror(errno) << "); the full-disk case is not run";
  struct Unmount {
    std::string dir;
    ~Unmount() { ::umount2(dir.c_str(), MNT_DETACH); }
  } unmount{dir};

  const std::string path = dir + "survey.T38";
  const std::string filler = dir + "filler";
  AttachDataFile(OpenExclusive(path, OpenMode::AppendCreate));
  ASSERT_TRUE(DataFileIsOpen());
  ASSERT_TRUE(WriteEventRecord("$STARTED", 'X'));
  {
    // Everything else of the filesystem is taken.
    FILE* f = std::fopen(filler.c_str(), "w");
    ASSERT_NE(f, nullptr);
    std::string block(4096, 'x');
    while (std::fwrite(block.data(), 1, block.size(), f) == block.size() && std::fflush(f) == 0) {
    }
    std::fclose(f);
  }
  // Readings and sentence groups until the disk refuses some.
  int failed = 0;
  uint32_t tick = 7000;
  for (int i = 0; i < 400; ++i, tick += 72) {
    if (!WriteReadingRecord("T<-0" + std::to_string(100 + i % 900), tick)) ++failed;
    if (i % 3 == 0 && !WriteGpsSentence("$GPGGA,120000.00,4530.0000,N,07330.0000,W,1,08,0.9,10.0,M,,M,,*00", tick,
                                        '@', '#', '!', 'p', i))
      ++failed;
  }
  ASSERT_GT(failed, 0) << "the filesystem never ran full";
  EXPECT_EQ(DataFile().DataFileWriteErrors, static_cast<uint32_t>(failed));
  EXPECT_EQ(test::ReadFile(path).size() % RecordLength, 0u);

  // Space returns: the survey goes on from the last whole record.
  ASSERT_EQ(::unlink(filler.c_str()), 0);
  for (int i = 0; i < 50; ++i, tick += 72) {
    ASSERT_TRUE(WriteReadingRecord("T<-0" + std::to_string(500 + i), tick)) << i;
    if (i % 3 == 0) {
      ASSERT_TRUE(WriteGpsSentence("$GPGGA,120001.00,4530.0000,N,07330.0000,W,1,08,0.9,10.0,M,,M,,*00", tick,
                                   '@', '#', '!', 'p', i));
    }
  }
  CloseDataFile();
  EXPECT_EQ(test::ReadFile(path).size() % RecordLength, 0u);
  ExpectReadsWhole(path, "T<-0549");
}

}  // namespace
}  // namespace obrix
