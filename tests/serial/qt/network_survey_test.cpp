// Surveys recorded from network sources on the logging screen: a receiver streaming over TCP from a server in
// the test (closed and opened again while recording), and a receiver simulator held by a gpsd the test starts.
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "datafile/records.h"
#include "logscreen/qt/session_fixture.h"
#include "platform/net_source.h"
#include "platform/paths.h"
#include "platform/serial.h"
#include "serial/port_links.h"
#include "serial/tcp_server.h"
#include "sim/gnss_stream.h"
#include "sim/scenario.h"
#include "sim/sim_process.h"

namespace obrix {
namespace {

using test::PumpFor;
using test::PumpUntil;

constexpr const char* kGpsdPath = "/usr/sbin/gpsd";

// The receiver simulator's sentences (GGA at 2 Hz) written to whichever client the server has.
class TcpReceiver {
 public:
  explicit TcpReceiver(test::TcpServer& server) : server_(server) {
    sim::GnssOptions o;
    o.format = 1;
    o.rateHz = 2;
    stream_ = std::make_unique<sim::GnssStream>(o, scenario_, TickMs(), 0.0, 43200.0 + TickMs() / 1000.0);
    thread_ = std::thread([this] {
      std::string out;
      while (run_) {
        out.clear();
        stream_->Generate(TickMs(), &out);
        if (!out.empty()) server_.Write(out);  // lost while the server is down
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
      }
    });
  }
  ~TcpReceiver() {
    run_ = false;
    thread_.join();
  }

 private:
  test::TcpServer& server_;
  sim::Scenario scenario_;
  std::unique_ptr<sim::GnssStream> stream_;
  std::atomic<bool> run_{true};
  std::thread thread_;
};

std::vector<std::string> Records(const std::string& path) {
  const std::string bytes = test::ReadFile(path);
  EXPECT_EQ(bytes.size() % RecordLength, 0u) << "a partial record at the end";
  std::vector<std::string> out;
  for (size_t i = 0; i + RecordLength <= bytes.size(); i += RecordLength) out.push_back(bytes.substr(i, RecordLength));
  return out;
}

bool IsEvent(const std::string& r, const std::string& text) {
  return r[0] == 'X' && r.substr(1, 11) == (text + std::string(11 - text.size(), ' '));
}

bool IsAcceptedFix(const std::string& r) { return r[0] == '!' && r[7] == 'p'; }

class NetworkSurveyTest : public test::LoggingSessionFixture {
 protected:
  // A survey of the receiver alone on COM6, linked to `address`.
  void OpenGpsOnly(const std::string& address) {
    std::string error;
    ASSERT_TRUE(LinkPort(5, address, &error)) << error;
    Open();
    Config().instrumentEnabled = 0;  // the window loads the settings file again
    Config().gpsInput = 1;
    Config().gpsPort = 5;
  }
};

TEST_F(NetworkSurveyTest, TcpReceiverRecordedAndReconnectedAfterTheServerWasAway) {
  test::TcpServer server;
  ASSERT_TRUE(server.ok());
  TcpReceiver receiver(server);
  OpenGpsOnly(server.Address());
  StartSession();
  OpenFileAndGo();
  PumpFor(2000);

  // The server goes away for a second: silence, the break event, and the reader connects again.
  server.Stop();
  PumpFor(1000);
  ASSERT_TRUE(server.Restart());
  ASSERT_TRUE(PumpUntil([] { return Readers().GpsLinkBroken.load() == 1; }, 6000));
  ASSERT_TRUE(PumpUntil([] { return Readers().GpsLinkBroken.load() == 0; }, 6000));
  ASSERT_TRUE(PumpUntil([&] { return server.accepted() >= 2; }, 3000));
  PumpFor(2500);
  PauseAndExit();

  const std::vector<std::string> r = Records(path_);
  size_t brk = 0;
  int breaks = 0;
  for (size_t i = 0; i < r.size(); ++i)
    if (IsEvent(r[i], "GPS CONN BR")) brk = i, ++breaks;
  ASSERT_EQ(breaks, 1);
  int before = 0, after = 0;
  for (size_t i = 0; i < r.size(); ++i) (i < brk ? before : after) += IsAcceptedFix(r[i]);
  EXPECT_GE(before, 2);
  EXPECT_GE(after, 2);
  // Back before the reconnection: no port message.
  for (const auto& c : prompts_.Calls()) EXPECT_NE(c.title, kSerialPortTitle) << c.text;
}

// gpsd on a free loopback port, reading the receiver simulator's pseudo-terminal; nothing of a system service.
class GpsdProcess {
 public:
  GpsdProcess(const std::string& dataRoot, const std::string& device) {
    port_ = test::UnusedLoopbackPort();
    const std::string control = dataRoot + "gpsd.sock";
    started_ = process_.Start(kGpsdPath, {"-N", "-n", "-b", "-S", std::to_string(port_), "-F", control, device},
                              dataRoot, true);
  }
  ~GpsdProcess() { process_.Stop(); }
  // Waits until gpsd takes connections.
  bool WaitListening(int ms) {
    for (int waited = 0; started_ && waited < ms; waited += 50) {
      uint32_t error = 0;
      NetAddress a{NetKind::Tcp, "127.0.0.1", port_};
      const int fd = NetConnect(a, 500, &error);
      if (fd >= 0) {
        SerialClose(fd);
        return true;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return false;
  }
  std::string Address() const { return "gpsd://127.0.0.1:" + std::to_string(port_); }
  std::string Output() { return process_.ReadOutput(100); }

 private:
  test::SimProcess process_;
  int port_ = 0;
  bool started_ = false;
};

TEST_F(NetworkSurveyTest, ReceiverHeldByGpsdRecordedWithoutItsReports) {
  struct stat st {};
  if (::stat(kGpsdPath, &st) != 0) GTEST_SKIP() << "gpsd is not installed (" << kGpsdPath << "): apt-get install gpsd";
  test::SimProcess receiver;
  ASSERT_TRUE(receiver.Start("gnss-sim", {"--port", "COM7", "--rate", "2"}, root_.dir().path()));
  const std::string device = test::WaitForLink(root_.dir().file("ports/COM7"), 5000);
  ASSERT_NE(device, "") << receiver.ReadOutput(100);
  GpsdProcess gpsd(root_.dir().path(), device);
  ASSERT_TRUE(gpsd.WaitListening(5000)) << gpsd.Output();

  OpenGpsOnly(gpsd.Address());
  StartSession();
  OpenFileAndGo();
  PumpFor(3000);
  PauseAndExit();

  const std::string bytes = test::ReadFile(path_);
  EXPECT_EQ(bytes.find("class"), std::string::npos) << "gpsd's reports reached the file";
  const std::vector<std::string> r = Records(path_);
  int fixes = 0, rawLines = 0;
  for (const std::string& rec : r) {
    fixes += IsAcceptedFix(rec);
    rawLines += rec[0] == '?';
  }
  EXPECT_GE(fixes, 2);
  EXPECT_EQ(rawLines, 0);
  EXPECT_EQ(receiver.Stop(), 0);
}

}  // namespace
}  // namespace obrix
