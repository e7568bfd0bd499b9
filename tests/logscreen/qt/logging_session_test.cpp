// Whole surveys on the logging screen: both simulated devices stream over real pseudo-terminals while the
// screen is driven by keys, and the data file is checked record by record.
#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QPushButton>
#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "app/qt/program_exit.h"
#include "app/qt/setup_window.h"
#include "background/background_list.h"
#include "datafile/data_file.h"
#include "datafile/records.h"
#include "datafile/writers.h"
#include "gps/fix_state.h"
#include "logscreen/qt/log_window.h"
#include "logscreen/qt/session_fixture.h"
#include "panes/qt/panes.h"
#include "platform/control_ids.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "platform/pty_link.h"
#include "platform/qt/canvas_text.h"
#include "platform/qt/scripted_prompts.h"
#include "platform/sound.h"
#include "platform/ticks.h"
#include "serial/port_access.h"
#include "serial/reader_state.h"
#include "serial/reader_thread.h"
#include "settings/settings.h"
#include "sim/em38_stream.h"
#include "sim/gnss_stream.h"
#include "sim/sim_process.h"
#include "state/palette.h"
#include "state/session.h"
#include <signal.h>
#include "test_support.h"

namespace obrix {
namespace {

// Streams the simulated EM38 (COM4) and receiver (COM6) from their own thread; the receiver can be unplugged
// and plugged in again on a new pseudo-terminal.
class Devices {
 public:
  Devices(bool em38, bool gps) : em38_(em38), gps_(gps) {
    if (em38_) {
      EXPECT_TRUE(em.Open(PtyLink::PortLinkPath("COM4"), &error)) << error;
    }
    if (gps_) PlugGps();
    thread_ = std::thread([this] { Run(); });
  }
  ~Devices() {
    run_ = false;
    thread_.join();
  }

  void UnplugAndReplugGps() {
    std::lock_guard<std::mutex> lock(mutex_);
    UnplugGpsLocked();
    PlugGpsLocked();
  }
  // The receiver's cable out (its port link goes too) and in again on a new pseudo-terminal.
  void UnplugGps() {
    std::lock_guard<std::mutex> lock(mutex_);
    UnplugGpsLocked();
  }
  void PlugGps() {
    std::lock_guard<std::mutex> lock(mutex_);
    PlugGpsLocked();
  }

  PtyLink em, gnss;
  std::string error;

 private:
  void UnplugGpsLocked() {
    gnss.Close();
    gnssStream_.reset();
  }
  void PlugGpsLocked() {
    EXPECT_TRUE(gnss.Open(PtyLink::PortLinkPath("COM6"), &error)) << error;
    sim::GnssOptions o;
    o.format = 1;
    o.rateHz = 2;
    gnssStream_ = std::make_unique<sim::GnssStream>(o, scenario_, TickMs(), 0.0, 43200.0 + TickMs() / 1000.0);
  }
  void Run() {
    sim::Em38Options eo;
    sim::Em38Stream ems(eo, scenario_, TickMs());
    std::string out;
    while (run_) {
      {
        std::lock_guard<std::mutex> lock(mutex_);
        const uint32_t now = TickMs();
        if (em38_) {
          out.clear();
          ems.Generate(now, &out);
          if (!out.empty()) em.Write(out);
        }
        if (gps_ && gnssStream_) {
          out.clear();
          gnssStream_->Generate(now, &out);
          if (!out.empty()) gnss.Write(out);
        }
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
  }

  bool em38_, gps_;
  sim::Scenario scenario_;
  std::unique_ptr<sim::GnssStream> gnssStream_;
  std::mutex mutex_;
  std::atomic<bool> run_{true};
  std::thread thread_;
};

using test::Key;
using test::PumpFor;
using test::PumpUntil;

std::vector<std::string> Records(const std::string& path) {
  const std::string bytes = test::ReadFile(path);
  EXPECT_EQ(bytes.size() % RecordLength, 0u) << "a partial record at the end";
  std::vector<std::string> out;
  for (size_t i = 0; i + RecordLength <= bytes.size(); i += RecordLength) out.push_back(bytes.substr(i, RecordLength));
  return out;
}

uint32_t Tick(const std::string& r) { return static_cast<uint32_t>(std::stoul(r.substr(16, 10))); }
bool IsEvent(const std::string& r, const std::string& text) {
  return r[0] == 'X' && r.substr(1, 11) == (text + std::string(11 - text.size(), ' '));
}

// Every record is 27 bytes with its line feed and a known kind; the fixed fields of the ones the logging
// screen writes are checked.
void CheckWellFormed(const std::vector<std::string>& records) {
  const std::string kinds = "OoHGLBAZ*STXC@#?\"!{";
  for (size_t i = 0; i < records.size(); ++i) {
    const std::string& r = records[i];
    SCOPED_TRACE("record " + std::to_string(i) + ": " + r);
    ASSERT_EQ(r.size(), static_cast<size_t>(RecordLength));
    EXPECT_EQ(r[26], '\n');
    EXPECT_NE(kinds.find(r[0]), std::string::npos);
    switch (r[0]) {
      case 'T':
        EXPECT_EQ(r.substr(12, 4), "    ");
        EXPECT_NO_THROW(Tick(r));
        break;
      case 'X':
      case 'C':
      case '*':
        EXPECT_NO_THROW(Tick(r));
        break;
      case '!':
        EXPECT_TRUE(r[7] == 'p' || r[7] == ' ');
        EXPECT_EQ(r.substr(8, 8), "        ");
        break;
      default:
        break;
    }
  }
}

// Pixels of the map pane that are neither paper, grid nor cursor: the drawn track.
int TrackPixels(const Canvas& pane) {
  int n = 0;
  for (int y = 0; y < pane.height(); ++y)
    for (int x = 0; x < pane.width(); ++x) {
      const Colour c = pane.GetPixel(x, y);
      n += c != kWhite && c != Pens().GridPen.colour && c != Config().cursorColour;
    }
  return n;
}

class LoggingSessionTest : public test::LoggingSessionFixture {};

TEST_F(LoggingSessionTest, SurveyWithPauseAndNewLine) {
  Devices devices(true, true);
  Open();
  StartSession();
  const double startStation = Config().startStation;
  const double increment = Drv().StationIncrementInUse;
  OpenFileAndGo();
  PumpFor(3000);
  log_->HandleInput({KeyInput::KeyDown, 'Z'});  // any key pauses
  ASSERT_EQ(Sess().LoggingState.load(), StandBy);
  const double lastStation1 = Drv().StationValue;
  prompts_ << PromptAnswer::RunDialog({}, DialogEnd::ClickOk(), "GETNEWLINE");
  Key(*log_, 'E');
  const double startStation2 = Drv().StationValue;
  const double increment2 = Drv().StationIncrementInUse;
  Key(*log_, 'G');
  ASSERT_EQ(Sess().LoggingState.load(), Logging);
  PumpFor(2000);
  EXPECT_GT(TrackPixels(log_->mapCanvas()), 20) << "no track on the map pane";
  if (const char* dir = std::getenv("OBRIX_SHOTS")) log_->mapPane()->grab().save(QString(dir) + "/logging-map.png");
  log_->HandleInput({KeyInput::KeyDown, VK_RETURN});
  const double lastStation2 = Drv().StationValue;
  PauseAndExit();

  const std::vector<std::string> r = Records(path_);
  CheckWellFormed(r);
  ASSERT_GT(r.size(), 20u);
  // Header, line block and time mark.
  const std::string head = "OHGGGLBAZ*";
  for (size_t i = 0; i < head.size(); ++i) EXPECT_EQ(r[i][0], head[i]) << i;
  EXPECT_EQ(r[0].substr(0, 5), "OBX38");
  EXPECT_EQ(r[0].substr(12, 3), "GPS");
  ASSERT_TRUE(IsEvent(r[10], "$STARTED"));

  // Find the parts: first recording, PAUSED, new line block, second $STARTED, second recording, PAUSED.
  std::vector<size_t> started, paused, lines;
  for (size_t i = 0; i < r.size(); ++i) {
    if (IsEvent(r[i], "$STARTED")) started.push_back(i);
    if (IsEvent(r[i], "PAUSED")) paused.push_back(i);
    if (r[i][0] == 'L') lines.push_back(i);
  }
  ASSERT_EQ(started.size(), 2u);
  ASSERT_EQ(paused.size(), 2u);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_LT(started[0], paused[0]);
  EXPECT_LT(paused[0], lines[1]);
  EXPECT_LT(lines[1], started[1]);
  EXPECT_LT(started[1], paused[1]);
  EXPECT_EQ(r[lines[1] + 1][0], 'B');
  EXPECT_EQ(r[lines[1] + 4][0], '*');
  EXPECT_EQ(r[lines[1]].substr(1, 4), "2.00");

  // Readings at the set rate with rising ticks, and position groups about once a second, in each recording.
  const double rate = 1.0 / Config().readingInterval;
  const double seconds[2] = {3.0, 2.0};
  for (int part = 0; part < 2; ++part) {
    int readings = 0, fixes = 0;
    uint32_t lastTick = 0;
    for (size_t i = started[part]; i < paused[part]; ++i) {
      if (r[i][0] == 'T') {
        const uint32_t t = Tick(r[i]);
        if (readings > 0) {
          EXPECT_TRUE(TickNotBefore(t, lastTick + 1)) << "ticks do not rise at " << i;
        }
        lastTick = t;
        ++readings;
      }
      if (r[i][0] == '!' && r[i][7] == 'p') ++fixes;
    }
    SCOPED_TRACE("recording " + std::to_string(part));
    EXPECT_NEAR(readings, rate * seconds[part], rate * seconds[part] * 0.3 + 2);
    EXPECT_NEAR(fixes, seconds[part], 1.5);
    // No reading outside a recording.
  }
  for (size_t i = 0; i < started[0]; ++i) EXPECT_NE(r[i][0], 'T');
  for (size_t i = paused[0]; i < started[1]; ++i) EXPECT_NE(r[i][0], 'T');
  // Swath corners: each recording opens a new swath ('{0'), the next moving fix gives the edges at both ends
  // (sets 'a'..'d' and 'e'..'h'), every later one the edge at its end; none outside a recording.
  for (int part = 0; part < 2; ++part) {
    SCOPED_TRACE("swath of recording " + std::to_string(part));
    std::string subKinds;
    int fixes = 0;
    for (size_t i = started[part]; i < paused[part]; ++i) {
      if (r[i][0] == '{') subKinds += r[i][1];
      fixes += r[i][0] == '!' && r[i][7] == 'p';
    }
    ASSERT_GE(subKinds.size(), 9u) << subKinds;
    EXPECT_EQ(subKinds.substr(0, 9), "0abcdefgh");
    const std::string later = subKinds.substr(9);
    ASSERT_EQ(later.size() % 4, 0u) << subKinds;
    for (size_t k = 0; k < later.size(); k += 4) EXPECT_EQ(later.substr(k, 4), "efgh") << subKinds;
    EXPECT_NEAR(static_cast<int>(later.size() / 4) + 2, fixes, 1.5);
  }
  for (size_t i = 0; i < started[0]; ++i) EXPECT_NE(r[i][0], '{');
  for (size_t i = paused[0]; i < started[1]; ++i) EXPECT_NE(r[i][0], '{');
  // Stations advance by the increment from the start station of each line.
  int count[2] = {0, 0};
  for (int part = 0; part < 2; ++part)
    for (size_t i = started[part]; i < paused[part]; ++i) count[part] += r[i][0] == 'T';
  EXPECT_NEAR(lastStation1, startStation + (count[0] - 1) * increment, 1e-9);
  EXPECT_NEAR(lastStation2, startStation2 + (count[1] - 1) * increment2, 1e-9);
  EXPECT_NEAR(increment2, -increment, 1e-12);  // the alternate line runs back
}

// However the program is asked to stop while recording, the session ends as a silent EndLoggingSession: readers
// stopped and joined, "PAUSED" as the last record, the file closed, the temporary background copies removed.
TEST_F(LoggingSessionTest, EveryWayOutWhileRecordingEndsTheSession) {
  enum Way { Destroyed, Closed_, Sigterm, Sigint, Sighup, DestroyedByDisplay };
  struct Case {
    const char* name;
    Way way;
  } cases[] = {
      {"window destroyed", Destroyed},   {"window closed", Closed_}, {"SIGTERM", Sigterm},
      {"SIGINT", Sigint},                {"SIGHUP", Sighup},         {"native window destroyed by the display", DestroyedByDisplay},
  };
  Devices devices(true, true);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ResetSession();
    Open();
    int quitCode = -1;
    auto exits = std::make_unique<ExitRequests>(window_.get(), [&quitCode](int code) { quitCode = code; });
    StartSession();
    OpenFileAndGo();
    // A loaded background file's temporary copy.
    const std::string temporary = ScratchFolder() + "POINTSTXT.$00";
    test::WriteFile(temporary, "x");
    Backgrounds().BackgroundList[0].temporaryName = "POINTSTXT.$00";
    Backgrounds().BackgroundCount = 1;
    PumpFor(700);
    switch (c.way) {
      case Destroyed: window_.reset(); break;
      case Closed_: window_->close(); break;
      case Sigterm: std::raise(SIGTERM); break;
      case Sigint: std::raise(SIGINT); break;
      case Sighup: std::raise(SIGHUP); break;
      case DestroyedByDisplay: {
        // What the X server sends once another client destroyed the window.
        struct {
          uint8_t responseType = 17;
          uint8_t pad = 0;
          uint16_t sequence = 1;
          uint32_t event, window;
        } notify;
        notify.event = notify.window = static_cast<uint32_t>(window_->winId());
        QAbstractEventDispatcher::instance()->filterNativeEvent("xcb_generic_event_t", &notify, nullptr);
        break;
      }
    }
    if (c.way != Destroyed && c.way != Closed_) EXPECT_TRUE(PumpUntil([&] { return quitCode >= 0; }, 3000));
    if (c.way != Destroyed && c.way != Closed_) EXPECT_EQ(quitCode, 0);
    EXPECT_EQ(Sess().LoggingState.load(), Closed);
    EXPECT_FALSE(DataFileIsOpen());
    EXPECT_FALSE(GpsReaderThread().Held());
    EXPECT_FALSE(InstrumentReaderThread().Held());
    EXPECT_FALSE(FileExists(temporary));
    EXPECT_EQ(Backgrounds().BackgroundCount, 0);
    const std::vector<std::string> r = Records(path_);
    CheckWellFormed(r);
    ASSERT_FALSE(r.empty());
    EXPECT_TRUE(IsEvent(r.back(), "PAUSED")) << r.back();
    EXPECT_GT(std::count_if(r.begin(), r.end(), [](const std::string& x) { return x[0] == 'T'; }), 2);
    exits.reset();
    window_.reset();
    ResetPorts();
  }
}

TEST_F(LoggingSessionTest, ReceiverUnpluggedWhileRecordingIsReconnected) {
  Devices devices(true, true);
  Open();
  StartSession();
  OpenFileAndGo();
  PumpFor(1000);
  devices.UnplugAndReplugGps();
  // Silence for 3 s, then the reader reconnects to the port's new device.
  ASSERT_TRUE(PumpUntil([] { return Readers().GpsLinkBroken.load() == 1; }, 6000));
  ASSERT_TRUE(PumpUntil([] { return Readers().GpsLinkBroken.load() == 0; }, 6000));
  PumpFor(2000);
  PauseAndExit();
  const std::vector<std::string> r = Records(path_);
  CheckWellFormed(r);
  size_t brk = 0;
  for (size_t i = 0; i < r.size(); ++i)
    if (IsEvent(r[i], "GPS CONN BR")) brk = i;
  ASSERT_GT(brk, 0u) << "no break event";
  int fixesAfter = 0;
  for (size_t i = brk; i < r.size(); ++i) fixesAfter += r[i][0] == '!' && r[i][7] == 'p';
  EXPECT_GE(fixesAfter, 1);
  EXPECT_FALSE(sound_.Cues().empty());
}

// A receiver that is back while the message of a failed reopen is still up: positions resume by themselves.
TEST_F(LoggingSessionTest, ReceiverBackWhileThePortMessageIsUpResumesWithoutTheOperator) {
  Config().disconnectAlarm = 1;
  Devices devices(true, true);
  Open();
  StartSession();
  OpenFileAndGo();
  PumpFor(1000);
  prompts_.ClearCalls();
  devices.UnplugGps();
  bool plugged = false;
  int positionsAtPlug = 0;
  prompts_ << PromptAnswer::Press(IDOK, "MESSAGEOK").HoldWhile([&] {
    if (!plugged) {
      // The message is up: the link shows as down, and the receiver comes back.
      const ReadoutRects& f = log_->readoutRects();
      EXPECT_EQ(log_->canvas().GetPixel(f.dop.value.left + 1, f.dop.value.top + 1), kReadoutWarningColour);
      EXPECT_EQ(sound_.PlayedCount(kSoundRing), 1);
      devices.PlugGps();
      plugged = true;
      positionsAtPlug = Fix().GpsPositionCount;
    }
    return Fix().GpsPositionCount < positionsAtPlug + 2;
  });
  ASSERT_TRUE(PumpUntil([&] { return prompts_.Calls().size() == 1; }, 15000)) << "no port message";
  EXPECT_TRUE(plugged);
  EXPECT_EQ(prompts_.Calls()[0].text, "Port COM6 does not exists");
  EXPECT_EQ(Readers().GpsLinkBroken.load(), 0);
  EXPECT_EQ(Sess().LoggingState.load(), Logging);
  // The fields show positions again.
  const ReadoutRects& f = log_->readoutRects();
  EXPECT_NE(log_->canvas().GetPixel(f.north.value.left + 1, f.north.value.top + 1), kReadoutWarningColour);
  PauseAndExit();
  const std::vector<std::string> r = Records(path_);
  CheckWellFormed(r);
  int breaks = 0;
  for (const std::string& rec : r) breaks += IsEvent(rec, "GPS CONN BR");
  EXPECT_EQ(breaks, 2);  // one per attempt: the failed reopen and the one that found the receiver
}

TEST_F(LoggingSessionTest, InstrumentUnpluggedWhileRecordingIsWatchedAndResumesOnTheScreen) {
  Config().gpsInput = 0;
  Config().disconnectAlarm = 1;
  test::SimProcess sim;
  // Back 2.5 s after the unplugging: after the reopen at the break (1 s), before the next one (4 s).
  ASSERT_TRUE(sim.Start("em38-sim", {"--port", "COM4", "--unplug-for", "2.5"}, root_.dir().path()));
  ASSERT_NE(test::WaitForLink(PtyLink::PortLinkPath("COM4"), 5000), "") << sim.ReadOutput(100);
  Open();
  Config().gpsInput = 0;  // the window loads the settings file again
  Config().disconnectAlarm = 1;
  StartSession();
  OpenFileAndGo();
  PumpFor(1500);
  Canvas& pane = LogPanes().numbers->canvas();
  const int px = pane.width() - 2, py = pane.height() - 2;
  EXPECT_EQ(pane.GetPixel(px, py), kReadoutNormalColour);

  prompts_.ClearCalls();
  prompts_ << PromptAnswer::Press(IDOK, "MESSAGEOK");
  sim.Signal(SIGUSR2);
  ASSERT_TRUE(PumpUntil([] { return Readers().Em38LinkBroken.load() == 1; }, 3000));
  EXPECT_TRUE(PumpUntil([&] { return pane.GetPixel(px, py) == kReadoutWarningColour; }, 1000));
  ASSERT_TRUE(PumpUntil([] { return Readers().Em38LinkBroken.load() == 0; }, 8000)) << sim.ReadOutput(100);
  EXPECT_TRUE(PumpUntil([&] { return pane.GetPixel(px, py) == kReadoutNormalColour; }, 2000));
  EXPECT_TRUE(log_->isVisible());
  EXPECT_EQ(Sess().LoggingState.load(), Logging);
  PumpFor(1000);
  PauseAndExit();
  EXPECT_EQ(sim.Stop(), 0);

  ASSERT_EQ(prompts_.Calls().size(), 2u);  // the port message, then the exit question
  EXPECT_EQ(prompts_.Calls()[0].text, "Port COM4 does not exists");
  EXPECT_GE(sound_.PlayedCount(kSoundRing), 1);
  const std::vector<std::string> r = Records(path_);
  CheckWellFormed(r);
  size_t brk = 0;
  int breaks = 0;
  for (size_t i = 0; i < r.size(); ++i)
    if (IsEvent(r[i], "EM CONN BR")) brk = i, ++breaks;
  ASSERT_EQ(breaks, 1);
  int before = 0, after = 0;
  for (size_t i = 0; i < r.size(); ++i) (i < brk ? before : after) += r[i][0] == 'T';
  EXPECT_GT(before, 3);
  EXPECT_GT(after, 3);
}

TEST_F(LoggingSessionTest, GpsDisabledAndInstrumentDisabledSessions) {
  struct Case {
    const char* name;
    int instrumentEnabled, gpsInput;
    const char* extension;
    const char* gpsField;
    bool readings, sentences;
  } cases[] = {
      {"GPS disabled", 1, 0, ".T38", "GRD", true, false},
      {"instrument disabled", 0, 1, ".GXY", "GPS", false, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Config().instrumentEnabled = c.instrumentEnabled;
    Config().gpsInput = c.gpsInput;
    Devices devices(c.instrumentEnabled == 1, c.gpsInput == 1);
    Open();
    Config().instrumentEnabled = c.instrumentEnabled;  // the window loads the settings file again
    Config().gpsInput = c.gpsInput;
    StartSession();
    if (c.gpsInput == 0) EXPECT_EQ(log_->mapPane()->isVisible(), false);
    OpenFileAndGo();
    PumpFor(2000);
    PauseAndExit();
    std::string ext = path_.substr(path_.size() - 4);
    for (char& ch : ext) ch = static_cast<char>(toupper(static_cast<unsigned char>(ch)));
    EXPECT_EQ(ext, c.extension);
    const std::vector<std::string> r = Records(path_);
    CheckWellFormed(r);
    ASSERT_FALSE(r.empty());
    EXPECT_EQ(r[0].substr(12, 3), c.gpsField);
    bool readings = false, sentences = false;
    for (const std::string& rec : r) {
      readings |= rec[0] == 'T';
      sentences |= rec[0] == '@';
    }
    EXPECT_EQ(readings, c.readings);
    EXPECT_EQ(sentences, c.sentences);
    window_.reset();
    ResetPorts();
  }
}

}  // namespace
}  // namespace obrix
