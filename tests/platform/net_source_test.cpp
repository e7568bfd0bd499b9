#include "platform/net_source.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <thread>

#include "platform/paths.h"
#include "platform/serial.h"
#include "serial/tcp_server.h"
#include "test_support.h"

namespace obrix {
namespace {

using Clock = std::chrono::steady_clock;

long long MsSince(Clock::time_point start) {
  return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
}

TEST(NetAddress, LinkTextsParsedSplitAndWrittenBack) {
  const struct {
    const char* text;
    NetParse split;   // syntax only
    NetParse parse;   // and a numeric host
    const char* written;  // NetAddressText of a valid address
  } cases[] = {
      {"tcp://192.168.1.20:10110", NetParse::Valid, NetParse::Valid, "tcp://192.168.1.20:10110"},
      {"TCP://127.0.0.1:1", NetParse::Valid, NetParse::Valid, "tcp://127.0.0.1:1"},
      {"gpsd://127.0.0.1", NetParse::Valid, NetParse::Valid, "gpsd://127.0.0.1:2947"},
      {"gpsd://10.0.0.2:65535", NetParse::Valid, NetParse::Valid, "gpsd://10.0.0.2:65535"},
      {"tcp://[::1]:10110", NetParse::Valid, NetParse::Valid, "tcp://[::1]:10110"},
      {"gpsd://[fe80::1]", NetParse::Valid, NetParse::Valid, "gpsd://[fe80::1]:2947"},
      {"tcp://localhost:10110", NetParse::Valid, NetParse::Valid, "tcp://localhost:10110"},
      {"tcp://rover.local:10110", NetParse::Valid, NetParse::Invalid, ""},
      {"/dev/ttyUSB0", NetParse::NotNetwork, NetParse::NotNetwork, ""},
      {"/dev/serial/by-id/usb-Maker_GNSS-if00", NetParse::NotNetwork, NetParse::NotNetwork, ""},
      {"tcp://127.0.0.1", NetParse::Invalid, NetParse::Invalid, ""},          // tcp needs a port
      {"tcp://127.0.0.1:", NetParse::Invalid, NetParse::Invalid, ""},
      {"tcp://127.0.0.1:0", NetParse::Invalid, NetParse::Invalid, ""},
      {"tcp://127.0.0.1:65536", NetParse::Invalid, NetParse::Invalid, ""},
      {"tcp://127.0.0.1:+80", NetParse::Invalid, NetParse::Invalid, ""},
      {"tcp://127.0.0.1:80x", NetParse::Invalid, NetParse::Invalid, ""},
      {"tcp://:10110", NetParse::Invalid, NetParse::Invalid, ""},
      {"tcp://::1:10110", NetParse::Invalid, NetParse::Invalid, ""},          // IPv6 needs brackets
      {"tcp://[::1:10110", NetParse::Invalid, NetParse::Invalid, ""},
      {"tcp://[::1]10110", NetParse::Invalid, NetParse::Invalid, ""},
      {"tcp://[1.2.3.4]:10110", NetParse::Invalid, NetParse::Invalid, ""},
      {"tcp://host name:10110", NetParse::Invalid, NetParse::Invalid, ""},
      {"tcp://10.0.0.5:10110/", NetParse::Invalid, NetParse::Invalid, ""},
      {"udp://127.0.0.1:10110", NetParse::Invalid, NetParse::Invalid, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    NetAddress a;
    std::string why;
    EXPECT_EQ(SplitNetAddress(c.text, &a, &why), c.split);
    if (c.split == NetParse::Invalid) EXPECT_FALSE(why.empty());
    why.clear();
    EXPECT_EQ(ParseNetAddress(c.text, &a, &why), c.parse);
    if (c.parse == NetParse::Invalid) EXPECT_FALSE(why.empty());
    if (c.parse == NetParse::Valid) {
      EXPECT_EQ(NetAddressText(a), c.written);
      NetAddress again;
      EXPECT_EQ(ParseNetAddress(NetAddressText(a), &again), NetParse::Valid);
      EXPECT_EQ(NetAddressText(again), c.written);
    }
  }
}

TEST(GpsdJsonFilter, DropsJsonLinesKeepsEverythingElseInReadsOfAnySize) {
  const std::string stream =
      "{\"class\":\"VERSION\",\"release\":\"3.22\"}\r\n"
      "{\"class\":\"DEVICES\",\"devices\":[{\"path\":\"/dev/pts/3\"}]}\r\n"
      "$GPGGA,120000.00,4336.59,N,07936.64,W,4,10,0.9,100.0,M,-36.0,M,,*5C\r\n"
      "{\"class\":\"DEVICE\",\"path\":\"/dev/pts/3\",\"activated\":\"2026-12-11T14:00:00\"" +
      std::string(3000, ' ') + "}\r\n"
      "$GPGSA,A,3,01,02,,*1E\r\n"
      "garbage {not json at the line start}\r\n"
      "\n{\"class\":\"WATCH\"}\n"
      "\xB5\x62 8-bit bytes\r\n";
  const std::string expected =
      "$GPGGA,120000.00,4336.59,N,07936.64,W,4,10,0.9,100.0,M,-36.0,M,,*5C\r\n"
      "$GPGSA,A,3,01,02,,*1E\r\n"
      "garbage {not json at the line start}\r\n"
      "\n"
      "\xB5\x62 8-bit bytes\r\n";
  for (size_t chunk = 1; chunk <= stream.size(); chunk = chunk < 80 ? chunk + 1 : chunk * 2) {
    GpsdJsonFilter filter;
    std::string got;
    for (size_t at = 0; at < stream.size(); at += chunk) {
      std::string piece = stream.substr(at, chunk);
      auto* bytes = reinterpret_cast<unsigned char*>(piece.data());
      got.append(piece.data(), filter.Filter(bytes, piece.size()));
    }
    EXPECT_EQ(got, expected) << "reads of " << chunk;
  }
}

class NetPortTest : public ::testing::Test {
 protected:
  // The port link COM6 with `text`, opened.
  int OpenLinked(const std::string& text, uint32_t* error) {
    MakeFolders(PortsFolder());
    ::unlink(SerialLinkPath(5).c_str());
    if (::symlink(text.c_str(), SerialLinkPath(5).c_str()) != 0) return kInvalidPort;
    return SerialOpen(SerialLinkPath(5), error);
  }
  test::DataRootFixture root;
};

TEST_F(NetPortTest, TcpSourceReadsWritesAndPurgesThroughTheSerialCalls) {
  test::TcpServer server;
  ASSERT_TRUE(server.ok());
  uint32_t error = 0;
  const int fd = OpenLinked(server.Address(), &error);
  ASSERT_GE(fd, 0) << error;
  EXPECT_EQ(NetSourceKind(fd), NetKind::Tcp);
  EXPECT_TRUE(SerialConfigure(fd, LineSettings{}, &error));
  ASSERT_TRUE(server.WaitClient(2000));

  ASSERT_TRUE(server.Write("{\"not\":\"filtered\"}\r\n$GPGGA,1*00\r\n"));
  std::string got;
  unsigned char buf[64];
  for (int i = 0; i < 20 && got.size() < 32; ++i) {
    const int n = SerialReadSome(fd, buf, sizeof buf, 200, -1);
    got.append(reinterpret_cast<char*>(buf), static_cast<size_t>(n));
  }
  EXPECT_EQ(got, "{\"not\":\"filtered\"}\r\n$GPGGA,1*00\r\n");

  EXPECT_TRUE(SerialWrite(fd, "$PCMD,1\r\n", 9, 100));
  EXPECT_EQ(server.Received(2000), "$PCMD,1\r\n");

  // What arrived before a purge is gone; what comes after is read.
  ASSERT_TRUE(server.Write("stale"));
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  SerialPurge(fd);
  ASSERT_TRUE(server.Write("fresh"));
  ASSERT_EQ(SerialReadSome(fd, buf, sizeof buf, 2000, -1), 5);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(buf), 5), "fresh");

  // The peer goes: reads wait out their time-out with no data (never a spin), a write fails without a signal.
  server.Stop();
  for (int i = 0; i < 3; ++i) {
    const auto start = Clock::now();
    EXPECT_EQ(SerialReadSome(fd, buf, sizeof buf, 150, -1), 0);
    EXPECT_GE(MsSince(start), 140);
    unsigned char byte = 0;
    EXPECT_EQ(SerialReadByte(fd, 50, &byte), 0);
  }
  bool failed = false;
  for (int i = 0; i < 20 && !failed; ++i) {
    failed = !SerialWrite(fd, "x", 1, 10);
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  EXPECT_TRUE(failed);
  EXPECT_TRUE(SerialClose(fd));
  EXPECT_FALSE(NetSourceKind(fd).has_value());
}

TEST_F(NetPortTest, GpsdSourceAsksForSentencesAndNeverPassesItsJson) {
  test::TcpServer server;
  ASSERT_TRUE(server.ok());
  uint32_t error = 0;
  const int fd = OpenLinked(server.Address("gpsd"), &error);
  ASSERT_GE(fd, 0) << error;
  EXPECT_EQ(NetSourceKind(fd), NetKind::Gpsd);
  EXPECT_EQ(server.Received(2000), kGpsdWatchRequest);
  // The reply to the request, split inside a JSON line, around a sentence.
  ASSERT_TRUE(server.Write("{\"class\":\"VERSION\"}\r\n{\"class\":\"DEV"));
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  ASSERT_TRUE(server.Write("ICES\"}\r\n$GPGGA,2*00\r\n{\"class\":\"WATCH\"}\r\n"));
  std::string got;
  unsigned char buf[64];
  for (int i = 0; i < 20 && got.size() < 14; ++i) {
    const int n = SerialReadSome(fd, buf, sizeof buf, 200, -1);
    got.append(reinterpret_cast<char*>(buf), static_cast<size_t>(n));
  }
  EXPECT_EQ(got, "$GPGGA,2*00\r\n");
  // Only JSON: a read that finds nothing else waits out its time-out.
  ASSERT_TRUE(server.Write("{\"class\":\"DEVICE\"}\r\n"));
  EXPECT_EQ(SerialReadSome(fd, buf, sizeof buf, 200, -1), 0);
  // Nothing is ever written to gpsd after the request.
  EXPECT_FALSE(SerialWrite(fd, "$PCMD\r\n", 7, 100));
  EXPECT_EQ(server.Received(200), "");
  SerialClose(fd);
}

TEST_F(NetPortTest, UnreachableAddressesReadAsAMissingPortWithinTheConnectBound) {
  const struct {
    std::string text;
    uint32_t error;
  } cases[] = {
      {"tcp://127.0.0.1:" + std::to_string(test::UnusedLoopbackPort()), kErrorFileNotFound},   // refused
      {"gpsd://127.0.0.1:" + std::to_string(test::UnusedLoopbackPort()), kErrorFileNotFound},
      {"tcp://192.0.2.1:10110", kErrorFileNotFound},  // a documentation address: no route, or no answer
      {"tcp://rover.local:10110", kErrorInvalidParameter},  // names are not looked up
      {"tcp://127.0.0.1", kErrorInvalidParameter},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    uint32_t error = 0;
    const auto start = Clock::now();
    EXPECT_EQ(OpenLinked(c.text, &error), kInvalidPort);
    EXPECT_EQ(error, c.error);
    EXPECT_LT(MsSince(start), kNetConnectTimeoutMs + 500);
  }
}

}  // namespace
}  // namespace obrix
