#include "serial/em38_reader.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "datafile/data_file.h"
#include "platform/files.h"
#include "platform/sound.h"
#include "platform/ticks.h"
#include "serial/reader_thread.h"
#include "pty_port.h"
#include "serial_fixture.h"

namespace obrix {
namespace {

using Result = Em38FormatCheck::Result;

// Feeds `bytes` one every `stepMs` from tick 0 and returns the first result that is not Pending.
Result RunCheck(const std::string& bytes, uint32_t stepMs, int* length) {
  Em38FormatCheck check(0);
  uint32_t now = 0;
  for (unsigned char b : bytes) {
    now += stepMs;
    const Result r = check.Feed(b, now);
    if (r != Result::Pending) {
      *length = check.length();
      return r;
    }
  }
  return check.Idle(now);
}

TEST(Em38FormatCheck, LearnsSevenOrTwelveAndRefusesOtherLengths) {
  const struct {
    const char* name;
    std::string bytes;
    uint32_t stepMs;
    Result result;
    int length;
  } cases[] = {
      {"seven after a partial record", "12\rT\x01-0042\rT", 1, Result::Found, 7},
      {"twelve", "T\x05 0123ABCDE\r", 1, Result::Found, 12},
      {"nine fails at the first CR", "T\x05-12345X\rT\x05-0123\r", 1, Result::Failed, 0},
      {"bytes before the first T are skipped", "\r\r9999\rT\x01+0010\r", 1, Result::Found, 7},
      // 'T' at 1 ms, no CR until 1200 ms: the count restarts at the next 'T'.
      {"a stalled record waits for the next T", "T" + std::string(11, 'x') + "T\x01+0010\r", 100, Result::Found, 7},
      {"no record within 2 s", std::string(30, 'x') + "T\x01+0010\r", 70, Result::Failed, 0},
      {"silence", "", 1, Result::Pending, 0},
  };
  for (const auto& c : cases) {
    int length = 0;
    EXPECT_EQ(RunCheck(c.bytes, c.stepMs, &length), c.result) << c.name;
    if (c.result == Result::Found) EXPECT_EQ(length, c.length) << c.name;
  }
  Em38FormatCheck idle(100);
  EXPECT_EQ(idle.Idle(2100), Result::Pending);
  EXPECT_EQ(idle.Idle(2101), Result::Failed);
}

class Em38Test : public test::SerialTest {
 protected:
  void SetUp() override {
    SerialTest::SetUp();
    Config().audioTicks = 1;
  }
  void TearDown() override {
    StopEm38Reader();
    CloseDataFile();
    SerialTest::TearDown();
  }
  // Feeds the records and returns the indexes (1-based) of those handed over.
  std::vector<int> FeedRecords(Em38Framer& framer, int count, const std::string& record = "T\x01-0042\r") {
    std::vector<int> posted;
    for (int i = 1; i <= count; ++i) {
      bool out = false;
      for (unsigned char b : record) {
        Em38RecordCopy copy;
        if (framer.Feed(b, 1000u + i, &copy)) {
          out = true;
          EXPECT_EQ(copy.record(), record.substr(0, record.size() - 1));
          EXPECT_EQ(copy.tick, 1000u + i);
        }
      }
      if (out) posted.push_back(i);
    }
    return posted;
  }
};

TEST_F(Em38Test, EveryNthRecordIsHandedOver) {
  const struct {
    double interval;
    double periodMs;
    int records;
    std::vector<int> posted;
  } cases[] = {
      {0.2, 72.0, 9, {3, 6, 9}},  // three records per reading
      {0.2, 91.0, 5, {2, 4}},
      {0.05, 72.0, 3, {1, 2, 3}},
  };
  for (const auto& c : cases) {
    ResetReaderValues();
    Readers().Em38PostEvery = ComputeReadingsPerInterval(c.interval, c.periodMs);
    Em38Framer framer;
    EXPECT_EQ(FeedRecords(framer, c.records), c.posted) << c.interval << " " << c.periodMs;
    EXPECT_EQ(Readers().InstrumentLastDataTick, 1000u + c.records);
  }
}

TEST_F(Em38Test, TwelveCharacterRecordsAreCopiedWhole) {
  Readers().Em38RecordLength = 12;
  Em38Framer framer;
  EXPECT_EQ(FeedRecords(framer, 2, "T\x05 0123ABCDE\r"), (std::vector<int>{1, 2}));
}

TEST_F(Em38Test, LookBackAtEachCrCountsRecordsOfAnotherLength) {
  Readers().Em38PostEvery = 2;
  Em38Framer framer;
  // A nine-character record: its CR looks back to a byte that is not 'T', counted but not handed over.
  EXPECT_TRUE(FeedRecords(framer, 1, "TAB-0042\r").empty());
  EXPECT_EQ(Readers().Em38RecordCounter, 1);
  // The buffer was kept, so the next CR looks back again; a record now completes the count of two.
  EXPECT_EQ(FeedRecords(framer, 1), (std::vector<int>{1}));
  EXPECT_EQ(Readers().Em38RecordCounter, 0);
  EXPECT_EQ(framer.buffered(), 0u);
}

TEST_F(Em38Test, LongRunWithoutCrIsDiscarded) {
  Em38Framer framer;
  for (int i = 0; i < 200; ++i) framer.Feed('x', 1, nullptr);
  EXPECT_EQ(framer.buffered(), 200u - 181u);
  // A CR whose look-back is garbage hands nothing over; a record after it still frames.
  EXPECT_FALSE(framer.Feed('\r', 1, nullptr));
  EXPECT_EQ(FeedRecords(framer, 1), (std::vector<int>{1}));
}

TEST_F(Em38Test, ChangedPostIntervalWithoutResetStillPosts) {
  Readers().Em38PostEvery = 5;
  Em38Framer framer;
  EXPECT_TRUE(FeedRecords(framer, 3).empty());
  Readers().Em38PostEvery = 2;  // counter already at 3
  EXPECT_EQ(FeedRecords(framer, 3), (std::vector<int>{1, 3}));
}

TEST_F(Em38Test, TickSoundEverySixthRecordOnlyWhileRecording) {
  const struct {
    int state;
    int audioTicks;
    int postEvery;
    std::vector<int> soundAt;
  } cases[] = {
      {Logging, 1, 3, {6, 12}},  // independent of N
      {Logging, 1, 1, {6, 12}},
      {StandBy, 1, 1, {}},
      {NoFile, 1, 1, {}},
      {Logging, 0, 1, {}},
  };
  for (const auto& c : cases) {
    RecordingSound sound;
    ScopedSound scoped(sound);
    ResetReaderValues();
    Sess().LoggingState = c.state;
    Config().audioTicks = c.audioTicks;
    Readers().Em38PostEvery = c.postEvery;
    Em38Framer framer;
    std::vector<int> soundAt;
    for (int i = 1; i <= 13; ++i) {
      const int before = sound.PlayedCount(kSoundResult);
      FeedRecords(framer, 1);
      if (sound.PlayedCount(kSoundResult) > before) soundAt.push_back(i);
    }
    EXPECT_EQ(soundAt, c.soundAt) << c.state << " " << c.audioTicks << " " << c.postEvery;
  }
}

TEST_F(Em38Test, LinkWatchBreaksAfterOneSecondAndReopensEveryThreeUntilRecordsReturn) {
  using Step = Em38LinkWatch::Step;
  struct Case {
    uint32_t at;
    bool record;  // a record arrives at `at` before the check
    Step step;
    uint32_t wait;  // how long the reader may then wait for data: until the next break or reopening
  };
  const uint32_t bases[] = {1000u, 0xFFFFFC00u};  // the second runs across the wrap of the tick counter
  const Case cases[] = {
      {500, true, Step::Wait, 1001},      {1500, false, Step::Wait, 1},     {1501, false, Step::Break, 3001},
      {2000, false, Step::Wait, 2502},    {4501, false, Step::Wait, 1},     {4502, false, Step::Reopen, 3001},
      {7502, false, Step::Wait, 1},       {7503, false, Step::Reopen, 3001}, {7600, true, Step::Restored, 1001},
      {8600, false, Step::Wait, 1},       {8601, false, Step::Break, 3001}, {8700, true, Step::Restored, 1001},
  };
  for (uint32_t base : bases) {
    Em38LinkWatch watch;
    watch.Start(base);
    EXPECT_EQ(Readers().InstrumentLastDataTick, base);
    for (const Case& c : cases) {
      const uint32_t now = base + c.at;
      if (c.record) Readers().InstrumentLastDataTick = now;
      EXPECT_EQ(watch.Check(now), c.step) << base << " + " << c.at;
      EXPECT_EQ(watch.MsToNextCheck(now), c.wait) << base << " + " << c.at;
      const bool broken = c.step == Step::Break || c.step == Step::Reopen ||
                          (c.step == Step::Wait && c.at > 1501 && c.at < 7600);
      EXPECT_EQ(Readers().Em38LinkBroken, broken ? 1 : 0) << base << " + " << c.at;
    }
  }
}

class RecordingEm38Sink : public Em38Sink {
 public:
  void PostRecord(const Em38RecordCopy& record) override {
    std::lock_guard<std::mutex> lock(mutex_);
    records_.push_back(record);
  }
  void PostLinkWarning() override {
    std::lock_guard<std::mutex> lock(mutex_);
    warnings_.push_back(TickMs());
  }
  void ShowMessage(const std::string& title, const std::string& text) override {
    std::lock_guard<std::mutex> lock(mutex_);
    messages_.push_back(title + "|" + text);
  }
  void WriteEvent(std::string_view text) override {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      events_.emplace_back(text);
    }
    Em38Sink::WriteEvent(text);
  }
  std::vector<Em38RecordCopy> Records() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return records_;
  }
  std::vector<uint32_t> Warnings() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return warnings_;
  }
  std::vector<std::string> Messages() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return messages_;
  }
  std::vector<std::string> Events() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return events_;
  }
  bool WaitFor(size_t n, int ms) const {
    for (int waited = 0; waited < ms; waited += 5) {
      if (Records().size() >= n) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return Records().size() >= n;
  }

 private:
  mutable std::mutex mutex_;
  std::vector<Em38RecordCopy> records_;
  std::vector<uint32_t> warnings_;
  std::vector<std::string> messages_;
  std::vector<std::string> events_;
};

// Writes records to the pty every `periodMs` until stopped.
class RecordStream {
 public:
  RecordStream(test::PtyPort& pty, std::string record, int periodMs)
      : thread_([&pty, record, periodMs, this] {
          while (!stop_) {
            pty.Write(record);
            std::this_thread::sleep_for(std::chrono::milliseconds(periodMs));
          }
        }) {}
  ~RecordStream() {
    stop_ = true;
    thread_.join();
  }

 private:
  std::atomic<bool> stop_{false};
  std::thread thread_;
};

TEST_F(Em38Test, CheckOverThePortLearnsTwelveCharacters) {
  test::PtyPort pty(3);
  ASSERT_TRUE(pty.ok());
  Config().instrumentPort = 3;
  Config().readingInterval = 0.2;
  ASSERT_EQ(OpenInstrumentPort(1), 1);
  RecordStream stream(pty, "T\x05 0123ABCDE\r", 20);
  EXPECT_EQ(CheckInstrument(), 1);
  EXPECT_EQ(Readers().Em38RecordLength, 12);
  EXPECT_EQ(Drv().InstrumentPeriodMs, 91.0);
  EXPECT_EQ(Drv().ReadingsPerInterval, 2);
}

TEST_F(Em38Test, CheckOverThePortFailsAtOnceOnNineCharacters) {
  test::PtyPort pty(3);
  ASSERT_TRUE(pty.ok());
  Config().instrumentPort = 3;
  ASSERT_EQ(OpenInstrumentPort(1), 1);
  RecordStream stream(pty, "T\x05-12345X\r", 20);
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(CheckInstrument(), 0);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(1000));
  EXPECT_EQ(Readers().Em38RecordLength, 7);
}

TEST_F(Em38Test, CheckFailsAfterTwoSecondsOfSilence) {
  test::PtyPort pty(3);
  ASSERT_TRUE(pty.ok());
  Config().instrumentPort = 3;
  ASSERT_EQ(OpenInstrumentPort(1), 1);
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(CheckInstrument(), 0);
  const auto took = std::chrono::steady_clock::now() - start;
  EXPECT_GE(took, std::chrono::milliseconds(2000));
  EXPECT_LT(took, std::chrono::milliseconds(2500));
}

TEST_F(Em38Test, ReaderThreadHandsOverCopiesAndStopsPromptly) {
  test::PtyPort pty(3);
  ASSERT_TRUE(pty.ok());
  Config().instrumentPort = 3;
  ASSERT_EQ(OpenInstrumentPort(1), 1);
  RecordingEm38Sink sink;
  const uint32_t before = TickMs();
  ASSERT_TRUE(StartEm38Reader(sink));
  EXPECT_FALSE(StartEm38Reader(sink));
  for (int waited = 0; Ports().InstrumentPortState != 2 && waited < 1000; waited += 5)
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  ASSERT_EQ(Ports().InstrumentPortState, 2);
  ASSERT_TRUE(pty.Write("xxT\x01-0042\rT\x81+1234\rT\x01-0043\r"));
  ASSERT_TRUE(sink.WaitFor(3, 2000));
  const auto records = sink.Records();
  EXPECT_EQ(records[0].record(), "T\x01-0042");
  EXPECT_EQ(records[1].record(), "T\x81+1234");
  EXPECT_EQ(records[2].record(), "T\x01-0043");
  EXPECT_GE(static_cast<int32_t>(records[0].tick - before), 0);
  const auto start = std::chrono::steady_clock::now();
  StopEm38Reader();
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(200));
  EXPECT_FALSE(InstrumentReaderThread().Held());
  EXPECT_EQ(Ports().InstrumentPortState, 1);
  CloseInstrumentPort();
  EXPECT_EQ(Ports().InstrumentPortHandle, kInvalidPort);
  EXPECT_EQ(Ports().InstrumentPortState, 0);
}

TEST_F(Em38Test, SilentLinkBreaksOnceAndReopensThroughItsLinkUntilRecordsReturn) {
  test::TempDir dir;
  const int file = OpenExclusive(dir.file("survey.T38"), OpenMode::AppendCreate);
  ASSERT_GE(file, 0);
  AttachDataFile(file);
  RecordingSound sound;
  ScopedSound scoped(sound);
  Config().disconnectAlarm = 1;
  Config().instrumentPort = 3;
  Sess().LoggingState = Logging;

  test::PtyPort first(3), second;
  ASSERT_TRUE(first.ok() && second.ok());
  ASSERT_EQ(OpenInstrumentPort(1), 1);
  first.ReleaseHold();
  std::optional<RecordStream> stream;
  stream.emplace(first, "T\x01-0042\r", 72);
  RecordingEm38Sink sink;
  ASSERT_TRUE(StartEm38Reader(sink));
  ASSERT_TRUE(sink.WaitFor(3, 2000));

  // Unplugged: the link goes with the device.
  stream.reset();
  first.Close();
  for (int waited = 0; sink.Messages().empty() && waited < 3000; waited += 5)
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  ASSERT_EQ(sink.Messages(), std::vector<std::string>{"Serial Port|Port COM4 does not exists"});
  EXPECT_EQ(Readers().Em38LinkBroken, 1);
  const size_t before = sink.Records().size();
  const uint32_t lastRecord = sink.Records().back().tick;
  // Back on a new device node under the same link before the next attempt, 3 s after the first.
  second.Link(3);
  stream.emplace(second, "T\x01-0043\r", 72);
  ASSERT_TRUE(sink.WaitFor(before + 3, 5000));
  const uint32_t back = TickMs();
  EXPECT_EQ(sink.Records().back().record(), "T\x01-0043");
  for (int waited = 0; Readers().Em38LinkBroken != 0 && waited < 1000; waited += 5)
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  EXPECT_EQ(Readers().Em38LinkBroken, 0);
  StopEm38Reader();
  stream.reset();

  const auto warnings = sink.Warnings();
  ASSERT_EQ(warnings.size(), 2u);
  EXPECT_GE(TickDiff(warnings[0], lastRecord), 1000u);
  EXPECT_LT(TickDiff(warnings[0], lastRecord), 1500u);
  EXPECT_GE(TickDiff(warnings[1], warnings[0]), 3000u);
  EXPECT_LT(TickDiff(back, warnings[1]), 1000u);
  EXPECT_EQ(sink.Events(), std::vector<std::string>{"EM CONN BR"});
  EXPECT_EQ(sound.PlayedCount(kSoundRing), 2);
  CloseDataFile();
  EXPECT_NE(test::ReadFile(dir.file("survey.T38")).find("XEM CONN BR"), std::string::npos);
}

TEST_F(Em38Test, SilenceOutsideRecordingWarnsWithoutEventOrAlarmWhenTheAlarmIsOff) {
  RecordingSound sound;
  ScopedSound scoped(sound);
  Config().disconnectAlarm = 0;
  Config().instrumentPort = 3;
  Sess().LoggingState = StandBy;
  test::PtyPort pty(3);
  ASSERT_TRUE(pty.ok());
  ASSERT_EQ(OpenInstrumentPort(1), 1);
  RecordingEm38Sink sink;
  ASSERT_TRUE(StartEm38Reader(sink));
  // 1.3 s of silence: one break, which reopens the port that is still there.
  std::this_thread::sleep_for(std::chrono::milliseconds(1300));
  StopEm38Reader();
  EXPECT_EQ(sink.Warnings().size(), 1u);
  EXPECT_TRUE(sink.Events().empty());
  EXPECT_TRUE(sink.Messages().empty());
  EXPECT_EQ(sound.PlayedCount(kSoundRing), 0);
  EXPECT_GE(Ports().InstrumentPortHandle, 0);
}

}  // namespace
}  // namespace obrix
