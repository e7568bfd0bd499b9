#include "serial/gps_reader.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <string>
#include <mutex>
#include <thread>
#include <vector>

#include "datafile/data_file.h"
#include "gps/nmea_fields.h"
#include "platform/files.h"
#include "platform/sound.h"
#include "serial/reader_thread.h"
#include "gps_sink.h"
#include "pty_port.h"
#include "serial_fixture.h"

namespace obrix {
namespace {

using test::RecordingGpsSink;

// "$<body>*hh\r\n" with a correct checksum (or a wrong one when `good` is false).
std::string Nmea(const std::string& body, bool good = true) {
  char sum[8];
  std::snprintf(sum, sizeof sum, "*%02X", NmeaXor("$" + body) ^ (good ? 0u : 1u));
  return "$" + body + sum + "\r\n";
}

const std::string kGga = "GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,";
const std::string kGsa = "GPGSA,A,3,04,05,,09,12,,,24,,,,,2.5,1.3,2.1";

class GpsLineTest : public test::SerialTest {
 protected:
  void SetUp() override {
    SerialTest::SetUp();
    Recording(true);
  }
  void Recording(bool on) {
    Sess().LoggingState = on ? Logging : StandBy;
    Readers().GpsRecordingOn = 1;
  }
  // Feeds the bytes as one read at `tick`, as the reader does: each call takes up to the end of a line.
  static void Feed(GpsLineHandler& h, const std::string& bytes, uint32_t tick) {
    for (size_t i = 0; i < bytes.size();) {
      const size_t used = h.Feed(std::string_view(bytes).substr(i), tick);
      ASSERT_GE(used, 1u);
      i += used;
    }
  }

  RecordingGpsSink sink;
};

TEST_F(GpsLineTest, PositionsCloserThan910MsAreWrittenButNotHandedOver) {
  GpsLineHandler h(sink, MakeNmeaTable(1, 0));
  h.Start(0);
  Feed(h, Nmea(kGga), 10000);
  Feed(h, Nmea(kGga), 10500);
  const auto sent = sink.SentList();
  ASSERT_EQ(sent.size(), 1u);
  EXPECT_EQ(sent[0].sentence, Nmea(kGga).substr(0, Nmea(kGga).size() - 2));
  EXPECT_EQ(sent[0].tick, 10000u);
  const auto written = sink.WrittenList();
  ASSERT_EQ(written.size(), 2u);
  EXPECT_EQ(written[0].flag, 'p');
  EXPECT_EQ(written[1].flag, ' ');
  EXPECT_EQ(written[1].tick, 10500u);
  EXPECT_EQ(written[0].first, '@');
  EXPECT_EQ(written[0].cont, '#');
  EXPECT_EQ(written[0].counter, 1);
  EXPECT_EQ(written[1].counter, 2);
  EXPECT_EQ(Readers().GpsLineCounter, 2);
  EXPECT_EQ(Readers().GpsLastDataTick, 10500u);
}

TEST_F(GpsLineTest, FixIntervalRuleOnModularTicks) {
  const struct {
    const char* name;
    std::vector<uint32_t> ticks;
    std::vector<uint32_t> accepted;
  } cases[] = {
      {"5 Hz gives one position a second", {0, 200, 400, 600, 800, 1000, 1200, 1400, 1600, 1800, 2000}, {0, 1000, 2000}},
      {"exactly 910 is too close", {5000, 5910, 5911}, {5000, 5911}},
      {"across the wrap", {0xFFFFFE00u, 0x00000004u, 0x000001F0u}, {0xFFFFFE00u, 0x000001F0u}},
      {"the first position is taken even at tick 0", {0, 400}, {0}},
      {"a tick going back by more than 910 is taken", {9000, 8000}, {9000, 8000}},
  };
  for (const auto& c : cases) {
    RecordingGpsSink s;
    GpsLineHandler h(s, MakeNmeaTable(1, 0));
    h.Start(0);
    for (uint32_t t : c.ticks) Feed(h, Nmea(kGga), t);
    std::vector<uint32_t> accepted;
    for (const auto& sent : s.SentList()) accepted.push_back(sent.tick);
    EXPECT_EQ(accepted, c.accepted) << c.name;
    EXPECT_EQ(s.WrittenList().size(), c.ticks.size()) << c.name;
  }
}

TEST_F(GpsLineTest, ReadsSplitAnywhereKeepEachLineAndItsStartTick) {
  // Three sentences, 1 s apart by their '$' (so each is handed over), cut into reads at awkward places; each read has its own tick.
  const std::string all = Nmea(kGga) + "junk" + Nmea(kGga) + Nmea(kGga);
  const size_t second = Nmea(kGga).size() + 4, third = second + Nmea(kGga).size();
  GpsLineHandler h(sink, MakeNmeaTable(1, 0));
  h.Start(0);
  Feed(h, all.substr(0, 10), 1000);                       // the first '$'
  Feed(h, all.substr(10, second + 1 - 10), 2000);        // its end, the junk and the second '$'
  Feed(h, all.substr(second + 1, third + 1 - second - 1), 3000);  // the rest of the second and the third '$'
  Feed(h, all.substr(third + 1), 3500);
  const auto sent = sink.SentList();
  ASSERT_EQ(sent.size(), 3u);
  EXPECT_EQ(sent[0].tick, 1000u);
  EXPECT_EQ(sent[1].tick, 2000u);
  EXPECT_EQ(sent[2].tick, 3000u);
  for (const auto& s : sent) EXPECT_EQ(s.sentence, Nmea(kGga).substr(0, Nmea(kGga).size() - 2));
  EXPECT_EQ(Readers().GpsLastDataTick, 3500u);  // the tick of the read that completed the last line
}

TEST_F(GpsLineTest, LinesThatAreNotTakenAreLoggedAsUnchecked) {
  const struct {
    const char* name;
    std::string bytes;
    std::string written;  // "" = nothing written
  } cases[] = {
      {"bad checksum", Nmea(kGga, false), Nmea(kGga, false).substr(0, Nmea(kGga).size() - 2)},
      {"no checksum", "$" + kGga + "\r\n", "$" + kGga},
      {"no '$'", "GARBAGE,1,2\r\n", "GARBAGE,1,2"},
      {"250 characters: the tail after 200", "$" + std::string(249, 'A') + "\n", std::string(49, 'A')},
      {"control and 8-bit bytes dropped", "AB\x01\x7F\xC3" "C\n", "ABC"},
      {"a lone LF", "\n", ""},
  };
  for (const auto& c : cases) {
    RecordingGpsSink s;
    GpsLineHandler h(s, MakeNmeaTable(1, 0));
    h.Start(100);
    Feed(h, c.bytes, 7000);
    EXPECT_TRUE(s.SentList().empty()) << c.name;
    const auto written = s.WrittenList();
    if (c.written.empty()) {
      EXPECT_TRUE(written.empty()) << c.name;
    } else {
      ASSERT_EQ(written.size(), 1u) << c.name;
      EXPECT_EQ(written[0].text, c.written) << c.name;
      EXPECT_EQ(written[0].first, '?') << c.name;
      EXPECT_EQ(written[0].cont, '"') << c.name;
      EXPECT_EQ(written[0].flag, ' ') << c.name;
      EXPECT_EQ(written[0].tick, 7000u) << c.name;
    }
    // None of them counts as data for the watchdog.
    EXPECT_EQ(Readers().GpsLastDataTick, 100u) << c.name;
  }
}

TEST_F(GpsLineTest, GsaHandedOverOnlyInFormatZero) {
  const struct {
    int format;
    int state;
    size_t gsaSent;
    size_t written;
  } cases[] = {
      {0, Logging, 1, 1},
      {0, StandBy, 1, 0},
      {1, Logging, 0, 0},
      {5, Logging, 0, 0},
  };
  for (const auto& c : cases) {
    RecordingGpsSink s;
    Sess().LoggingState = c.state;
    GpsLineHandler h(s, MakeNmeaTable(c.format, 0));
    h.Start(0);
    Feed(h, Nmea(kGsa), 3000);
    const auto sent = s.SentList();
    EXPECT_EQ(sent.size(), c.gsaSent) << c.format;
    if (!sent.empty()) EXPECT_TRUE(sent[0].gsa);
    const auto written = s.WrittenList();
    ASSERT_EQ(written.size(), c.written) << c.format;
    if (!written.empty()) EXPECT_EQ(written[0].flag, ' ');
    EXPECT_EQ(Readers().GpsLastDataTick, 3000u) << c.format;  // taken, so not silent
  }
}

TEST_F(GpsLineTest, NothingIsWrittenOrCountedOutsideRecording) {
  const struct {
    int state;
    int recordingOn;
    size_t written;
    long counter;
  } cases[] = {{Logging, 1, 2, 2}, {Logging, 0, 0, 2}, {StandBy, 1, 0, 0}, {NoFile, 0, 0, 0}};
  for (const auto& c : cases) {
    RecordingGpsSink s;
    ResetReaderValues();
    Sess().LoggingState = c.state;
    Readers().GpsRecordingOn = c.recordingOn;
    GpsLineHandler h(s, MakeNmeaTable(1, 0));
    h.Start(0);
    Feed(h, Nmea(kGga), 1000);
    Feed(h, Nmea(kGga), 1300);
    EXPECT_EQ(s.SentList().size(), 1u) << c.state;
    EXPECT_EQ(s.WrittenList().size(), c.written) << c.state;
    EXPECT_EQ(Readers().GpsLineCounter, c.counter) << c.state;
  }
}

TEST_F(GpsLineTest, FormatsWithoutChecksumTakeEveryDollarLine) {
  // Format 7 (pseudo-GGA of a total station): no checksum; position lines do not count, other lines count and
  // are written while logging.
  GpsLineHandler h(sink, MakeNmeaTable(7, 0));
  h.Start(0);
  Feed(h, "$GPGGA,1,2,3,4,5\r\n", 1000);
  Feed(h, "$GPGGA,1,2,3,4,5\r\n", 1500);
  Feed(h, "$PTEXT,hello\r\n", 1600);
  const auto sent = sink.SentList();
  ASSERT_EQ(sent.size(), 1u);
  EXPECT_EQ(sent[0].sentence, "$GPGGA,1,2,3,4,5");
  const auto written = sink.WrittenList();
  ASSERT_EQ(written.size(), 3u);
  EXPECT_EQ(written[0].flag, 'p');
  EXPECT_EQ(written[1].flag, ' ');
  EXPECT_EQ(written[2].text, "$PTEXT,hello");
  EXPECT_EQ(written[2].first, '@');
  EXPECT_EQ(written[2].counter, 1);
  EXPECT_EQ(Readers().GpsLineCounter, 1);
}

TEST_F(GpsLineTest, SilenceRuleIsModular) {
  const struct {
    uint32_t last, now;
    bool expired;
    uint32_t wait;  // how long the reader may wait for data before the silence expires
  } cases[] = {{1000, 1000, false, 3001},        {1000, 4000, false, 1},
               {1000, 4001, true, 1},            {0xFFFFF800u, 0x00000100u, false, 697},
               {0xFFFFF800u, 0x00000400u, true, 1}};
  for (const auto& c : cases) {
    Readers().GpsLastDataTick = c.last;
    EXPECT_EQ(GpsLineHandler::SilenceExpired(c.now), c.expired) << c.last << " " << c.now;
    EXPECT_EQ(GpsLineHandler::MsToSilence(c.now), c.wait) << c.last << " " << c.now;
  }
}

// Writes a GGA every `periodMs` to the current target pty, until stopped. Retarget waits for a write in
// progress, so the old pty may be closed right after it.
class SentenceStream {
 public:
  SentenceStream(test::PtyPort* target, int periodMs)
      : target_(target), thread_([periodMs, this] {
          while (!stop_) {
            {
              std::lock_guard<std::mutex> lock(mutex_);
              if (target_) target_->Write(Nmea(kGga));
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(periodMs));
          }
        }) {}
  ~SentenceStream() {
    stop_ = true;
    thread_.join();
  }
  void Retarget(test::PtyPort* target) {
    std::lock_guard<std::mutex> lock(mutex_);
    target_ = target;
  }

 private:
  std::mutex mutex_;
  test::PtyPort* target_;
  std::atomic<bool> stop_{false};
  std::thread thread_;
};

class GpsThreadTest : public GpsLineTest {
 protected:
  void SetUp() override {
    GpsLineTest::SetUp();
    Config().gpsPort = 5;
    Config().nmeaFormat = 1;
    BuildNmeaTable();
  }
  void TearDown() override {
    StopGpsReader();
    CloseDataFile();
    GpsLineTest::TearDown();
  }
};

TEST_F(GpsThreadTest, FiveHertzReceiverGivesOnePositionPerSecond) {
  test::PtyPort pty(5);
  ASSERT_TRUE(pty.ok());
  ASSERT_EQ(OpenGpsPort(), 1);
  ASSERT_TRUE(StartGpsReader(sink));
  {
    SentenceStream stream(&pty, 200);
    std::this_thread::sleep_for(std::chrono::milliseconds(2500));
  }
  // The reader waits up to 3 s for data; a stop wakes it at once.
  const auto stopStart = std::chrono::steady_clock::now();
  StopGpsReader();
  EXPECT_LT(std::chrono::steady_clock::now() - stopStart, std::chrono::milliseconds(200));
  EXPECT_EQ(Ports().GpsPortState, 1);
  const auto sent = sink.SentList();
  ASSERT_EQ(sent.size(), 3u);
  for (size_t i = 1; i < sent.size(); ++i) {
    const uint32_t gap = TickDiff(sent[i].tick, sent[i - 1].tick);
    EXPECT_GT(gap, 910u);
    EXPECT_LT(gap, 1200u);
  }
  EXPECT_GE(sink.WrittenList().size(), 11u);
  EXPECT_TRUE(sink.Paints().empty());
}

TEST_F(GpsThreadTest, SilentLinkReconnectsEveryThreeSecondsUntilTheReceiverIsBack) {
  test::TempDir dir;
  const int fd = OpenExclusive(dir.file("survey.T38"), OpenMode::AppendCreate);
  ASSERT_GE(fd, 0);
  AttachDataFile(fd);
  RecordingSound sound;
  ScopedSound scoped(sound);
  Config().disconnectAlarm = 1;

  test::PtyPort first(5);
  test::PtyPort second;
  ASSERT_TRUE(first.ok() && second.ok());
  ASSERT_EQ(OpenGpsPort(), 1);
  first.ReleaseHold();
  // The receiver comes back while the message of the failed reopen is shown.
  sink.onMessage = [&] { second.Link(5); };
  SentenceStream stream(&first, 250);
  ASSERT_TRUE(StartGpsReader(sink));
  ASSERT_TRUE(RecordingGpsSink::WaitUntil([&] { return sink.SentList().size() == 1; }, 2000));

  stream.Retarget(&second);
  first.Close();  // unplugged
  ASSERT_TRUE(RecordingGpsSink::WaitUntil([&] { return sink.SentList().size() >= 2; }, 9000));
  StopGpsReader();

  const auto paints = sink.Paints();
  ASSERT_EQ(paints.size(), 2u);
  EXPECT_GE(TickDiff(paints[1], paints[0]), 3000u);
  EXPECT_EQ(sink.Messages(), std::vector<std::string>{"Serial Port|Port COM6 does not exists"});
  EXPECT_EQ(sink.Events(), (std::vector<std::string>{"GPS CONN BRK", "GPS CONN BRK"}));
  EXPECT_EQ(sound.PlayedCount(kSoundRing), 2);
  EXPECT_GE(Ports().GpsPortHandle, 0);
  EXPECT_EQ(Readers().GpsLinkBroken, 0);
  const std::string file = test::ReadFile(dir.file("survey.T38"));
  EXPECT_NE(file.find("GPS CONN BR"), std::string::npos);
  EXPECT_EQ(file.find("GPS CONN BRK"), std::string::npos);
}

TEST_F(GpsThreadTest, SilenceWhileNotRecordingWritesNoEvent) {
  Sess().LoggingState = StandBy;
  Config().disconnectAlarm = 0;
  RecordingSound sound;
  ScopedSound scoped(sound);
  test::PtyPort pty(5);
  ASSERT_TRUE(pty.ok());
  ASSERT_EQ(OpenGpsPort(), 1);
  ASSERT_TRUE(StartGpsReader(sink));
  // 3.1 s of silence: one reconnection, which reopens the port that is still there.
  std::this_thread::sleep_for(std::chrono::milliseconds(3300));
  StopGpsReader();
  EXPECT_EQ(sink.Paints().size(), 1u);
  EXPECT_TRUE(sink.Events().empty());
  EXPECT_TRUE(sink.Messages().empty());
  EXPECT_EQ(sound.PlayedCount(kSoundRing), 0);
  EXPECT_GE(Ports().GpsPortHandle, 0);
}

}  // namespace
}  // namespace obrix
