#include "serial/port_access.h"

#include <gtest/gtest.h>
#include <termios.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <thread>
#include <vector>

#include "platform/message_box.h"
#include "platform/ticks.h"
#include "pty_port.h"
#include "serial/port_links.h"
#include "serial/tcp_server.h"
#include "serial/reader_thread.h"
#include "serial_fixture.h"

namespace obrix {
namespace {

using test::PtyPort;

TEST(SerialNames, ShortNameUpToCom9DeviceNamespaceFromCom10) {
  const struct {
    int index;
    const char* name;
  } cases[] = {{0, "COM1:"}, {8, "COM9:"}, {9, "\\\\.\\COM10"}, {98, "\\\\.\\COM99"}};
  for (const auto& c : cases) EXPECT_EQ(SerialDeviceName(c.index), c.name) << c.index;
  EXPECT_EQ(SerialPortName(9), "COM10");
}

TEST(SerialErrors, ErrnoTranslatesToSystemCodes) {
  const struct {
    int err;
    uint32_t code;
  } cases[] = {{ENOENT, 2}, {ENODEV, 2}, {ENXIO, 2},      {EACCES, 5},  {EPERM, 5},  {EBUSY, 5},
               {EWOULDBLOCK, 5}, {ETIMEDOUT, 121}, {EIO, 1117}, {EINVAL, 87}, {ENOTTY, 31}, {EMFILE, 31}};
  for (const auto& c : cases) EXPECT_EQ(WindowsErrorFromErrno(c.err), c.code) << c.err;
}

TEST(SerialErrors, MessageTextsByCodeAndKind) {
  const struct {
    uint32_t code;
    int index;
    int kind;
    const char* text;
  } cases[] = {
      {2, 2, 0, "Port COM3 does not exists"},
      {5, 5, 0, "COM6 is already open by another process, or insufficient permission is provided"},
      {32, 0, 1, "COM1 is in use by other process"},
      {121, 5, 0,
       "COM6 - A timeout occurred while waiting for a response from the GNSS/RTS (disconnected or powered off, "
       "port open but the device not streaming, incorrect settings: baud rate, parity, etc., faulty cabling)."},
      {121, 3, 1,
       "COM4 - A timeout occurred while waiting for a response from the instrument (disconnected or powered off, "
       "port open but the device not streaming, or faulty cabling)."},
      {1117, 10, 1, "Port COM11 cannot be open - Error #1117. For a full list, see Windows System Error Codes."},
  };
  for (const auto& c : cases) EXPECT_EQ(PortErrorText(c.code, c.index, c.kind), c.text) << c.code;
}

TEST(SerialSettings, RatesAndOutOfRangeRules) {
  const struct {
    int index;
    int gps;
    int instrument;
  } cases[] = {{0, 4800, 9600},     {1, 9600, 19200},  {3, 38400, 57600}, {4, 57600, 115200},
               {5, 115200, 0},      {6, 4800, 0},      {-1, 4800, 0},     {99, 4800, 0}};
  for (const auto& c : cases) {
    EXPECT_EQ(GpsBaudRate(c.index), c.gps) << c.index;
    EXPECT_EQ(InstrumentBaudRate(c.index), c.instrument) << c.index;
  }
}

TEST(SerialSettings, GpsSettingsGiveTheLineFlags) {
  const struct {
    int baud, dataBits, parity, stopBits;
    speed_t speed;
    tcflag_t size;
    bool parityOn, odd, twoStops;
  } cases[] = {
      {1, 1, 0, 0, B9600, CS8, false, false, false},
      {9, 0, 1, 1, B4800, CS7, true, false, true},     // out-of-range rate: 4800
      {5, 7, 2, 3, B115200, CS8, true, true, false},   // out-of-range bits and stops: 8 and one
      {2, 1, 5, 0, B19200, CS8, false, false, false},  // out-of-range parity: none
  };
  for (const auto& c : cases) {
    Settings s;
    s.gpsBaud = c.baud;
    s.gpsDataBits = c.dataBits;
    s.gpsParity = c.parity;
    s.gpsStopBits = c.stopBits;
    const LineSettings line = GpsLineSettings(s);
    EXPECT_TRUE(line.dtr);
    EXPECT_FALSE(line.rts);
    termios t{};
    t.c_lflag = ICANON | ECHO;
    t.c_iflag = IXON | ICRNL;
    t.c_cflag = CRTSCTS;
    ApplyLineSettings(t, line);
    EXPECT_EQ(cfgetospeed(&t), c.speed) << c.baud;
    EXPECT_EQ(t.c_cflag & CSIZE, c.size) << c.baud;
    EXPECT_EQ((t.c_cflag & PARENB) != 0, c.parityOn) << c.baud;
    EXPECT_EQ((t.c_cflag & PARODD) != 0, c.odd) << c.baud;
    EXPECT_EQ((t.c_iflag & INPCK) != 0, c.parityOn) << c.baud;
    EXPECT_EQ((t.c_cflag & CSTOPB) != 0, c.twoStops) << c.baud;
    EXPECT_EQ(t.c_cflag & CRTSCTS, 0u);
    EXPECT_EQ(t.c_iflag & (IXON | ICRNL), 0u);
    EXPECT_EQ(t.c_lflag & (ICANON | ECHO), 0u);
  }
  const LineSettings em38 = InstrumentLineSettings(0);
  EXPECT_EQ(em38.baud, 9600);
  EXPECT_EQ(em38.dataBits, 8);
  EXPECT_EQ(em38.parity, 'N');
  EXPECT_EQ(em38.stopBits, 1);
  EXPECT_TRUE(em38.dtr && em38.rts);
}

class PortAccessTest : public test::SerialTest {};

TEST_F(PortAccessTest, GpsPortOpensRawAtItsRate) {
  PtyPort pty(5);
  ASSERT_TRUE(pty.ok());
  Settings& s = Config();
  s.gpsPort = 5;
  for (const auto& [baud, speed] : {std::pair{3, B38400}, std::pair{8, B4800}}) {
    s.gpsBaud = baud;
    ASSERT_EQ(OpenGpsPort(), 1) << baud;
    const termios t = pty.Attributes();
    EXPECT_EQ(cfgetospeed(&t), speed) << baud;
    EXPECT_EQ(t.c_lflag & (ICANON | ECHO), 0u);
    CloseGpsPort();
  }
  EXPECT_EQ(messages.Count(), 0u);
}

TEST_F(PortAccessTest, InstrumentRateFromIndexOrKeptWhenOutOfRange) {
  const struct {
    int index;
    speed_t speed;
  } cases[] = {{0, B9600}, {4, B115200}, {7, B2400}, {-1, B2400}};
  PtyPort pty(3);
  ASSERT_TRUE(pty.ok());
  Config().instrumentPort = 3;
  for (const auto& c : cases) {
    termios t = pty.Attributes();
    cfsetospeed(&t, B2400);
    cfsetispeed(&t, B2400);
    ASSERT_EQ(tcsetattr(pty.master(), TCSANOW, &t), 0);
    Drv().InstrumentBaudIndex = c.index;
    ASSERT_EQ(OpenInstrumentPort(1), 1);
    t = pty.Attributes();
    EXPECT_EQ(cfgetospeed(&t), c.speed) << c.index;
    EXPECT_EQ(t.c_cflag & (CSIZE | PARENB | CSTOPB), static_cast<tcflag_t>(CS8)) << c.index;
    CloseInstrumentPort();
  }
}

TEST_F(PortAccessTest, MissingLinkReportsDoesNotExists) {
  Config().gpsPort = 2;
  EXPECT_EQ(OpenGpsPort(), 0);
  EXPECT_EQ(Ports().GpsPortHandle, kInvalidPort);
  const auto all = messages.All();
  ASSERT_EQ(all.size(), 1u);
  EXPECT_EQ(all[0].title, "Serial Port");
  EXPECT_EQ(all[0].text, "Port COM3 does not exists");
  EXPECT_EQ(MessageText(), "Port COM3 does not exists");
}

TEST_F(PortAccessTest, PortHeldByAnotherOpenerIsAccessDenied) {
  PtyPort pty(5);
  ASSERT_TRUE(pty.ok());
  uint32_t error = 0;
  const int other = SerialOpen(SerialLinkPath(5), &error);
  ASSERT_GE(other, 0);
  Config().gpsPort = 5;
  EXPECT_EQ(OpenGpsPort(), 0);
  EXPECT_EQ(Ports().GpsPortHandle, kInvalidPort);
  ASSERT_EQ(messages.Count(), 1u);
  EXPECT_EQ(messages.All()[0].text,
            "COM6 is already open by another process, or insufficient permission is provided");
  // Once the holder lets go the port opens again.
  SerialClose(other);
  EXPECT_EQ(OpenGpsPort(), 1);
}

TEST_F(PortAccessTest, LinkToSomethingThatIsNoTerminalFailsWithItsCode) {
  MakeFolders(PortsFolder());
  test::WriteFile(root.dir().file("plain"), "x");
  ASSERT_EQ(symlink(root.dir().file("plain").c_str(), SerialLinkPath(5).c_str()), 0);
  Config().gpsPort = 5;
  EXPECT_EQ(OpenGpsPort(), 0);
  EXPECT_EQ(Ports().GpsPortHandle, kInvalidPort);
  ASSERT_EQ(messages.Count(), 1u);
  EXPECT_EQ(messages.All()[0].text,
            "Port COM6 cannot be open - Error #31. For a full list, see Windows System Error Codes.");
}

TEST_F(PortAccessTest, NetworkLinksOpenLikeDevicesExceptGpsdForTheInstrument) {
  test::TcpServer server;
  ASSERT_TRUE(server.ok());
  MakeFolders(PortsFolder());
  Config().instrumentPort = 3;
  Config().gpsPort = 5;
  std::string error;

  // A serial device server for the EM38, gpsd for the receiver: both open without line settings.
  ASSERT_TRUE(LinkPort(3, server.Address(), &error)) << error;
  ASSERT_TRUE(LinkPort(5, server.Address("gpsd"), &error)) << error;
  EXPECT_EQ(OpenInstrumentPort(1), 1);
  EXPECT_EQ(OpenGpsPort(), 1);
  EXPECT_TRUE(server.WaitClient(2000));
  CloseInstrumentPort();
  CloseGpsPort();
  EXPECT_EQ(messages.Count(), 0u);

  // gpsd serves receivers only: the instrument port refuses it before connecting.
  ASSERT_TRUE(LinkPort(3, server.Address("gpsd"), &error)) << error;
  const int connections = server.accepted();
  EXPECT_EQ(OpenInstrumentPort(0), 0);
  EXPECT_EQ(messages.Count(), 0u);
  EXPECT_EQ(OpenInstrumentPort(1), 0);
  EXPECT_EQ(Ports().InstrumentPortHandle, kInvalidPort);
  ASSERT_EQ(messages.Count(), 1u);
  EXPECT_EQ(messages.All()[0].title, "Serial Port");
  EXPECT_EQ(messages.All()[0].text, InstrumentGpsdText(3));
  EXPECT_NE(messages.All()[0].text.find("COM4 is linked to gpsd"), std::string::npos);
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  EXPECT_EQ(server.accepted(), connections);

  // Nothing listening: the port does not exist.
  server.Stop();
  EXPECT_EQ(OpenGpsPort(), 0);
  EXPECT_EQ(Ports().GpsPortHandle, kInvalidPort);
  ASSERT_EQ(messages.Count(), 2u);
  EXPECT_EQ(messages.All()[1].text, "Port COM6 does not exists");
}

TEST_F(PortAccessTest, InstrumentAttemptsReportOnlyTheFourth) {
  const struct {
    int succeedAt;  // 0 = never
    int result;
    std::vector<int> reportFlags;
  } cases[] = {
      {1, 1, {0}},
      {4, 1, {0, 0, 0, 1}},
      {0, 0, {0, 0, 0, 1}},
  };
  for (const auto& c : cases) {
    std::vector<int> flags;
    auto open = [&](int report) {
      flags.push_back(report);
      return static_cast<int>(flags.size()) == c.succeedAt ? 1 : 0;
    };
    EXPECT_EQ(OpenInstrumentPortWithRetries(open), c.result);
    EXPECT_EQ(flags, c.reportFlags);
  }
  // A network source that does not answer has used its connect bound: one attempt, reported.
  std::string error;
  ASSERT_TRUE(LinkPort(3, "tcp://127.0.0.1:" + std::to_string(test::UnusedLoopbackPort()), &error)) << error;
  Config().instrumentPort = 3;
  EXPECT_EQ(OpenInstrumentPortWithRetries(), 0);
  ASSERT_EQ(messages.Count(), 1u);
  EXPECT_EQ(messages.All()[0].text, "Port COM4 does not exists");
}

TEST_F(PortAccessTest, InstrumentPortThatFailsThreeTimesShowsNoMessage) {
  PtyPort pty;
  ASSERT_TRUE(pty.ok());
  Config().instrumentPort = 3;
  int attempts = 0;
  auto open = [&](int report) {
    if (++attempts == 4) pty.Link(3);  // the port appears late
    return OpenInstrumentPort(report);
  };
  EXPECT_EQ(OpenInstrumentPortWithRetries(open), 1);
  EXPECT_EQ(attempts, 4);
  EXPECT_EQ(messages.Count(), 0u);
  EXPECT_GE(Ports().InstrumentPortHandle, 0);
}

TEST_F(PortAccessTest, LoggingPortsCloseTheOneThatOpenedWhenTheOtherFails) {
  PtyPort instrument(3);
  ASSERT_TRUE(instrument.ok());
  Settings& s = Config();
  s.instrumentEnabled = 1;
  s.instrumentPort = 3;
  s.gpsInput = 1;
  s.gpsPort = 5;  // no link
  EXPECT_EQ(OpenLoggingPorts(), 0);
  EXPECT_EQ(Ports().InstrumentPortHandle, kInvalidPort);
  EXPECT_EQ(Ports().InstrumentPortState, 0);
  ASSERT_EQ(messages.Count(), 1u);
  EXPECT_EQ(messages.All()[0].text, "Port COM6 does not exists");

  PtyPort gps(5);
  ASSERT_TRUE(gps.ok());
  EXPECT_EQ(OpenLoggingPorts(), 1);
  EXPECT_EQ(Ports().InstrumentPortState, 1);
  EXPECT_EQ(Ports().GpsPortState, 1);
  // A second start closes the instrument port left open (exclusive, it would refuse itself) and reopens it.
  CloseGpsPort();
  EXPECT_EQ(OpenLoggingPorts(), 1);
  EXPECT_EQ(messages.Count(), 1u);
}

// A clock a hundred times faster than real time, so the monitor's 5 s + 2 s wait takes 70 ms.
class FastClock {
 public:
  FastClock() {
    SetTickSource([] {
      using namespace std::chrono;
      return static_cast<uint32_t>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count() * 100);
    });
  }
  ~FastClock() { SetTickSource(nullptr); }
};

TEST_F(PortAccessTest, MonitorCloseWaitsForItsReaderThenClosesThePort) {
  PtyPort pty(5);
  ASSERT_TRUE(pty.ok());
  Config().gpsPort = 5;
  ASSERT_EQ(OpenGpsPort(), 1);
  ASSERT_TRUE(GpsReaderThread().Start([] {
    while (Ports().GpsPortClosing.load() == 0) std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }));
  CloseGpsPortForMonitor();
  EXPECT_FALSE(GpsReaderThread().Held());
  EXPECT_EQ(Ports().GpsPortHandle, kInvalidPort);
  EXPECT_EQ(Ports().GpsPortClosing.load(), 0);
  EXPECT_EQ(messages.Count(), 0u);
  CloseGpsPortForMonitor();  // nothing open: nothing happens
  EXPECT_EQ(messages.Count(), 0u);
}

TEST_F(PortAccessTest, MonitorCloseWithAReaderThatIgnoresItsStop) {
  PtyPort pty(5);
  ASSERT_TRUE(pty.ok());
  Config().gpsPort = 5;
  ASSERT_EQ(OpenGpsPort(), 1);
  const int fd = Ports().GpsPortHandle;
  std::atomic<bool> release{false};
  ASSERT_TRUE(GpsReaderThread().Start([&] {
    while (!release) std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }));
  {
    FastClock fast;
    const uint32_t start = TickMs();
    CloseGpsPortForMonitor();
    EXPECT_GE(TickDiff(TickMs(), start), 7000u);
  }
  ASSERT_EQ(messages.Count(), 1u);
  EXPECT_EQ(messages.All()[0].text,
            "The GPS port (cable or Bluetooth connection) cannot be closed. Please exit and re-start the program.");
  EXPECT_EQ(Ports().GpsPortHandle, fd);
  EXPECT_EQ(Ports().GpsPortClosing.load(), 1);
  release = true;
  GpsReaderThread().Join();
}

}  // namespace
}  // namespace obrix
