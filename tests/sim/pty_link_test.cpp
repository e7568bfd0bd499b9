#include "platform/pty_link.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <string>

#include "test_support.h"

namespace obrix {
namespace {

// Reads from a descriptor until `want` bytes came or `timeoutMs` passed without any.
std::string ReadSome(int fd, size_t want, int timeoutMs) {
  std::string got;
  char buf[256];
  while (got.size() < want) {
    pollfd p{fd, POLLIN, 0};
    if (poll(&p, 1, timeoutMs) <= 0) break;
    ssize_t n = read(fd, buf, sizeof buf);
    if (n <= 0) break;
    got.append(buf, static_cast<size_t>(n));
  }
  return got;
}

std::string LinkTarget(const std::string& link) {
  char buf[256] = {};
  ssize_t n = readlink(link.c_str(), buf, sizeof buf - 1);
  return n > 0 ? std::string(buf, static_cast<size_t>(n)) : "";
}

TEST(PtyLinkTest, ControlBytesPassBothWaysUntouched) {
  test::TempDir dir;
  PtyLink link;
  std::string error;
  ASSERT_TRUE(link.Open(dir.file("COM4"), &error)) << error;
  EXPECT_EQ(LinkTarget(dir.file("COM4")), link.slavePath());

  // The reader opens the link and reads before setting any mode of its own: a cooked slave would turn CR
  // into LF, echo, and eat ^C, ^S, ^Q and DEL.
  int fd = open(dir.file("COM4").c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
  ASSERT_GE(fd, 0);
  const std::string bytes("T\x03\x11\x13\x7f\x00\x1a\r\n\x04\xff", 11);
  EXPECT_EQ(link.Write(bytes), bytes.size());
  EXPECT_EQ(ReadSome(fd, bytes.size(), 300), bytes);
  const std::string back("$PASHS,NME,SAT,A,ON\r\n");
  ASSERT_EQ(write(fd, back.data(), back.size()), static_cast<ssize_t>(back.size()));
  std::string got;
  char buf[64];
  while (got.size() < back.size()) {
    size_t n = link.Read(buf, sizeof buf, 300);
    if (n == 0) break;
    got.append(buf, n);
  }
  EXPECT_EQ(got, back) << "no echo, no CR translation";
  EXPECT_TRUE(link.Drain(300));
  close(fd);
}

TEST(PtyLinkTest, CloseRemovesOnlyItsOwnLinkAndHangsUpTheReader) {
  test::TempDir dir;
  const std::string path = dir.file("COM6");
  PtyLink first, second;
  std::string error;
  ASSERT_TRUE(first.Open(path, &error)) << error;
  int fd = open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
  ASSERT_GE(fd, 0);
  // A second simulator on the same port replaces the link; the first one closing must not remove it.
  ASSERT_TRUE(second.Open(path, &error)) << error;
  EXPECT_EQ(LinkTarget(path), second.slavePath());
  first.Close();
  EXPECT_EQ(LinkTarget(path), second.slavePath());
  first.Close();  // twice is harmless

  // The reader of the closed pty sees a hang-up and reads end of file, never blocking.
  pollfd p{fd, POLLIN, 0};
  ASSERT_EQ(poll(&p, 1, 300), 1);
  EXPECT_TRUE(p.revents & (POLLHUP | POLLERR));
  char c;
  EXPECT_LE(read(fd, &c, 1), 0);
  close(fd);

  second.Close();
  EXPECT_EQ(access(path.c_str(), F_OK), -1) << "link removed";
  EXPECT_EQ(second.Write("x", 1), 0u) << "writing to a closed link does nothing";
}

TEST(PtyLinkTest, OpenReportsAnUnusableLinkPath) {
  PtyLink link;
  std::string error;
  EXPECT_FALSE(link.Open("/nonexistent-folder/COM4", &error));
  EXPECT_NE(error.find("/nonexistent-folder/COM4"), std::string::npos) << error;
  EXPECT_FALSE(link.IsOpen());
}

TEST(PtyLinkTest, UnreadOutputIsDroppedNotBlocking) {
  test::TempDir dir;
  PtyLink link;
  std::string error;
  ASSERT_TRUE(link.Open(dir.file("COM4"), &error)) << error;
  // Nobody reads: the pty fills up and the rest is dropped without blocking the simulator.
  const std::string block(4096, 'x');
  size_t total = 0;
  for (int i = 0; i < 64; ++i) total += link.Write(block);
  EXPECT_LT(total, 64u * block.size());
  EXPECT_FALSE(link.Drain(50));
}

}  // namespace
}  // namespace obrix
