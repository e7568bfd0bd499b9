#include "monitor/monitor_reader.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/pty_link.h"
#include "platform/serial.h"
#include "serial/port_access.h"
#include "test_support.h"

namespace obrix {
namespace {

struct Recorder : MonitorSink {
  std::mutex mutex;
  std::vector<std::string> lines;
  void ListLine(const std::string& line) override {
    std::lock_guard<std::mutex> lock(mutex);
    lines.push_back(line);
  }
  std::vector<std::string> Take() {
    std::lock_guard<std::mutex> lock(mutex);
    return std::exchange(lines, {});
  }
};

TEST(MonitorReaderTest, ByteRules) {
  const std::string l200(199, 'a');  // '$' + 199 + CR = 201 buffered at the LF
  struct Case {
    const char* name;
    std::string bytes;
    std::vector<std::string> lines;
  };
  const Case cases[] = {
      {"sentence", "$GPGGA,1*00\r\n", {"$GPGGA,1*00"}},
      {"bytes before the first '$' are ignored", "noise\r\n\n$A\r\n", {"$A"}},
      {"LF alone keeps the last character", "$ABC\n", {"$ABC"}},
      {"nothing is filtered", std::string("$A\x01\xff\x7f B*zz\r\n"), {std::string("$A\x01\xff\x7f B*zz")}},
      {"'$' restarts the line", "$GPG$GPGSA\r\n", {"$GPGSA"}},
      {"bare '$'", "$\r\n", {"$"}},
      {"LF without an open line", "\n\n", {}},
      {"201 characters with CR fit", "$" + l200 + "\r\n", {"$" + l200}},
      {"a longer line is discarded up to the next '$'",
       "$" + std::string(250, 'b') + "\r\ntail\r\n$X\r\n",
       {"$X"}},
      {"the second LF of a line lists nothing", "$A\r\n\n", {"$A"}},
  };
  for (const Case& c : cases) {
    Recorder rec;
    MonitorReader reader(rec, 0);
    for (unsigned char b : c.bytes) reader.Feed(b, 10);
    EXPECT_EQ(rec.lines, c.lines) << c.name;
  }
}

TEST(MonitorReaderTest, NoDataEverySevenSecondsWithoutALine) {
  for (uint32_t start : {0u, 0xFFFFF000u}) {  // the count survives the wrap of the tick counter
    Recorder rec;
    MonitorReader reader(rec, start);
    reader.Idle(start + 7000);
    EXPECT_TRUE(rec.lines.empty());
    reader.Idle(start + 7001);
    EXPECT_EQ(rec.Take(), std::vector<std::string>{kMonitorNoData});
    reader.Idle(start + 14001);
    EXPECT_TRUE(rec.lines.empty());
    reader.Idle(start + 14002);
    EXPECT_EQ(rec.Take().size(), 1u);
    // A listed line restarts the count.
    for (unsigned char b : std::string("$A\r\n")) reader.Feed(b, start + 20000);
    rec.Take();
    reader.Idle(start + 27000);
    EXPECT_TRUE(rec.lines.empty());
    reader.Idle(start + 27001);
    EXPECT_EQ(rec.Take().size(), 1u);
  }
}

// The loop on a real port: lines while running, none while paused, and it ends when the port is being closed.
TEST(MonitorReaderTest, LoopOverAPseudoTerminal) {
  test::DataRootFixture root;
  PtyLink device;
  std::string error;
  ASSERT_TRUE(device.Open(root.dir().file("COM6"), &error)) << error;
  uint32_t code = 0;
  const int fd = SerialOpen(root.dir().file("COM6"), &code);
  ASSERT_GE(fd, 0) << code;
  Ports().GpsPortHandle = fd;
  MonitorShared().MonitorReaderPaused = 0;

  Recorder rec;
  std::atomic<bool> ended{false};
  std::thread reader([&] {
    MonitorReaderLoop(rec);
    ended = true;
  });
  auto waitLines = [&](size_t n, int ms) {
    std::vector<std::string> got;
    for (int i = 0; i < ms / 10 && got.size() < n; ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
      auto more = rec.Take();
      got.insert(got.end(), more.begin(), more.end());
    }
    return got;
  };

  device.Write("$GPGGA,1\r\n$GPGSA,2\r\n");
  EXPECT_EQ(waitLines(2, 1000), (std::vector<std::string>{"$GPGGA,1", "$GPGSA,2"}));

  MonitorShared().MonitorReaderPaused = 1;
  std::this_thread::sleep_for(std::chrono::milliseconds(150));  // the reader finishes its read
  device.Write("$PAUSED\r\n");
  EXPECT_TRUE(waitLines(1, 300).empty());
  SerialPurge(fd);  // Go purges what came meanwhile
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  MonitorShared().MonitorReaderPaused = 0;
  device.Write("$AFTER\r\n");
  EXPECT_EQ(waitLines(1, 1000), std::vector<std::string>{"$AFTER"});

  Ports().GpsPortClosing.exchange(1);
  for (int i = 0; i < 50 && !ended; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
  EXPECT_TRUE(ended) << "the reader stops within its 50 ms read";
  reader.join();
  Ports().GpsPortClosing.exchange(0);
  SerialClose(fd);
  Ports().GpsPortHandle = kInvalidPort;
}

}  // namespace
}  // namespace obrix
