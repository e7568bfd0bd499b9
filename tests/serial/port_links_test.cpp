#include "serial/port_links.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/paths.h"
#include "platform/serial.h"
#include "export/tool_run.h"
#include "test_support.h"

namespace obrix {
namespace {

TEST(PortLinks, PortNames) {
  const struct {
    const char* name;
    int index;
  } cases[] = {{"COM1", 0}, {"com6", 5},  {"Com10", 9}, {"COM99", 98}, {"COM0", -1}, {"COM100", -1},
               {"COM", -1}, {"COM06", -1}, {"COMx", -1}, {"TTY1", -1},  {"COM-1", -1}};
  for (const auto& c : cases) EXPECT_EQ(ParsePortName(c.name), c.index) << c.name;
}

TEST(PortLinks, LinkReplaceListAndUnlink) {
  test::DataRootFixture root;
  std::string error;
  EXPECT_TRUE(ListPortLinks().empty());
  ASSERT_TRUE(LinkPort(9, "/dev/does-not-exist", &error)) << error;
  ASSERT_TRUE(LinkPort(5, "/dev/null", &error)) << error;
  ASSERT_TRUE(LinkPort(5, "/dev/zero", &error)) << error;  // replaced
  const auto links = ListPortLinks();
  ASSERT_EQ(links.size(), 2u);
  EXPECT_EQ(links[0].index, 5);
  EXPECT_EQ(links[0].target, "/dev/zero");
  EXPECT_TRUE(links[0].targetExists);
  EXPECT_EQ(links[1].index, 9);
  EXPECT_FALSE(links[1].targetExists);
  EXPECT_TRUE(UnlinkPort(5, &error));
  EXPECT_FALSE(UnlinkPort(5, &error));
  EXPECT_FALSE(error.empty());
  EXPECT_FALSE(LinkPort(99, "/dev/null", &error));
  EXPECT_EQ(ListPortLinks().size(), 1u);
}

TEST(PortLinks, NetworkTargetsStoredPlainListedAsNetworkAndMalformedOnesRefused) {
  test::DataRootFixture root;
  std::string error;
  ASSERT_TRUE(LinkPort(5, "GPSD://127.0.0.1", &error)) << error;
  ASSERT_TRUE(LinkPort(6, "tcp://[::1]:10110", &error)) << error;
  const auto links = ListPortLinks();
  ASSERT_EQ(links.size(), 2u);
  EXPECT_EQ(links[0].target, "gpsd://127.0.0.1:2947");
  EXPECT_TRUE(links[0].network);
  EXPECT_FALSE(links[0].targetExists);
  EXPECT_EQ(links[1].target, "tcp://[::1]:10110");
  EXPECT_TRUE(links[1].network);
  for (const char* bad : {"tcp://127.0.0.1", "tcp://rover.local:10110", "udp://10.0.0.1:5"}) {
    error.clear();
    EXPECT_FALSE(LinkPort(7, bad, &error)) << bad;
    EXPECT_NE(error.find(bad), std::string::npos) << error;
  }
  EXPECT_EQ(ListPortLinks().size(), 2u);

  // Numeric addresses and devices are linked as given; a malformed address is named in the error.
  std::string resolved;
  EXPECT_TRUE(ResolveNetTarget("tcp://10.0.0.5:10110", &resolved, &error));
  EXPECT_EQ(resolved, "tcp://10.0.0.5:10110");
  EXPECT_TRUE(ResolveNetTarget("/dev/ttyUSB0", &resolved, &error));
  EXPECT_EQ(resolved, "/dev/ttyUSB0");
  EXPECT_FALSE(ResolveNetTarget("gpsd://[::1", &resolved, &error));
  EXPECT_NE(error.find("gpsd://[::1"), std::string::npos);
}

TEST(PortLinks, ToolLinksAndListsNetworkAddresses) {
  test::TempDir dir;
  const std::string home = dir.path();
  const struct {
    std::string args;
    int status;
    const char* out;  // in standard output (or, failing, in standard error)
  } steps[] = {
      {"link COM6 gpsd://127.0.0.1", 0, "ports/COM6 -> gpsd://127.0.0.1:2947"},
      {"link com4 tcp://10.0.0.9:4001", 0, "ports/COM4 -> tcp://10.0.0.9:4001"},
      {"link COM5 tcp://10.0.0.9", 1, "tcp://10.0.0.9: no port (tcp://HOST:PORT)"},
      {"list", 0, "COM4   -> tcp://10.0.0.9:4001  (network)\n  COM6   -> gpsd://127.0.0.1:2947  (network)"},
      {"unlink COM6", 0, ""},
  };
  for (const auto& s : steps) {
    const test::ToolRun run = test::RunTool(dir, "obrix38-ports", s.args, false, home);
    EXPECT_EQ(run.status, s.status) << s.args << "\n" << run.err;
    EXPECT_NE((s.status == 0 ? run.out : run.err).find(s.out), std::string::npos) << s.args << "\n" << run.out << run.err;
  }
}

TEST(PortLinks, DevicesByIdFirstWithoutLegacyNames) {
  test::TempDir dev;
  ASSERT_TRUE(MakeFolders(dev.path() + "serial/by-id"));
  for (const char* name : {"ttyS0", "ttyUSB1", "ttyUSB0", "rfcomm0", "ttyACM0", "null"})
    test::WriteFile(dev.file(name), "");
  test::WriteFile(dev.file("serial/by-id/usb-Maker_Receiver-if00-port0"), "");
  const auto devices = ListSerialDevices(dev.path());
  const std::vector<std::string> expected = {
      dev.path() + "serial/by-id/usb-Maker_Receiver-if00-port0", dev.path() + "rfcomm0", dev.path() + "ttyACM0",
      dev.path() + "ttyUSB0", dev.path() + "ttyUSB1"};
  EXPECT_EQ(devices, expected);
}

}  // namespace
}  // namespace obrix
