#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <thread>

#include "platform/serial.h"
#include "platform/wake_event.h"
#include "serial/pty_port.h"

namespace obrix {
namespace {

using Clock = std::chrono::steady_clock;

long long MsSince(Clock::time_point start) {
  return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
}

struct OpenPort {
  test::PtyPort pty;
  int fd = -1;
  OpenPort() {
    uint32_t error = 0;
    fd = SerialOpen(pty.slave(), &error);
    if (fd >= 0) SerialConfigure(fd, LineSettings{}, &error);
  }
  ~OpenPort() { SerialClose(fd); }
};

TEST(SerialReadSome, TakesWhatIsQueuedInOneCallUpToTheBufferSize) {
  OpenPort port;
  ASSERT_GE(port.fd, 0);
  ASSERT_TRUE(port.pty.Write("$GPGGA,1\r\n$GPGSA,2\r\n"));
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  unsigned char buf[64] = {};
  ASSERT_EQ(SerialReadSome(port.fd, buf, 8, 500, -1), 8);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(buf), 8), "$GPGGA,1");
  ASSERT_EQ(SerialReadSome(port.fd, buf, sizeof buf, 500, -1), 12);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(buf), 12), "\r\n$GPGSA,2\r\n");
}

TEST(SerialReadSome, WaitsForTheTimeOutOrTheWakeUpWhicheverComesFirst) {
  OpenPort port;
  ASSERT_GE(port.fd, 0);
  WakeEvent wake;
  ASSERT_GE(wake.fd(), 0);
  unsigned char buf[16];
  auto start = Clock::now();
  EXPECT_EQ(SerialReadSome(port.fd, buf, sizeof buf, 120, wake.fd()), 0);
  EXPECT_GE(MsSince(start), 110);

  std::thread waker([&wake] {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    wake.Signal();
  });
  start = Clock::now();
  EXPECT_EQ(SerialReadSome(port.fd, buf, sizeof buf, 5000, wake.fd()), 0);
  EXPECT_LT(MsSince(start), 2000);
  waker.join();
  // The signal was taken: the next wait runs to its time-out.
  start = Clock::now();
  EXPECT_EQ(SerialReadSome(port.fd, buf, sizeof buf, 80, wake.fd()), 0);
  EXPECT_GE(MsSince(start), 70);
}

TEST(SerialReadSome, HungUpOrInvalidPortWaitsWithoutSpinningAndStillWakes) {
  WakeEvent wake;
  unsigned char buf[16];
  auto start = Clock::now();
  EXPECT_EQ(SerialReadSome(kInvalidPort, buf, sizeof buf, 80, -1), 0);
  EXPECT_GE(MsSince(start), 70);

  OpenPort port;
  ASSERT_GE(port.fd, 0);
  port.pty.Close();  // the device is gone: reads fail at once from now on
  start = Clock::now();
  EXPECT_EQ(SerialReadSome(port.fd, buf, sizeof buf, 80, wake.fd()), 0);
  EXPECT_GE(MsSince(start), 70);
  wake.Signal();
  start = Clock::now();
  EXPECT_EQ(SerialReadSome(port.fd, buf, sizeof buf, 5000, wake.fd()), 0);
  EXPECT_LT(MsSince(start), 2000);
}

}  // namespace
}  // namespace obrix
