// The simulator programs over their pseudo-terminal links, as the program's readers see them.
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "gps/line_assembler.h"
#include "gps/nmea_fields.h"
#include "sim/sim_process.h"
#include "sim/stream_split.h"
#include "test_support.h"

namespace obrix::test {
namespace {

TEST(SimulatorProcessTest, Em38SimStreamsRecordsOnItsPort) {
  struct Case {
    std::vector<std::string> args;
    const char* port;
    size_t length;
    int periodMs;
  };
  const Case cases[] = {
      {{}, "COM4", 7, 72},
      {{"--port", "com10", "--length", "12", "--mode", "inph", "--dipole", "H"}, "COM10", 12, 91},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.port);
    TempDir root;
    SimProcess sim;
    ASSERT_TRUE(sim.Start("em38-sim", c.args, root.path()));
    const std::string link = root.path() + "ports/" + c.port;
    ASSERT_NE(WaitForLink(link, 5000), "") << sim.ReadOutput(100);
    int fd = OpenRaw(link);
    ASSERT_GE(fd, 0);
    const int readMs = 1000;
    auto records = SplitCrRecords(ReadFor(fd, readMs));
    close(fd);
    ASSERT_GE(records.size(), 3u);
    // The first piece may be the tail of a record cut by the flush at open.
    records.erase(records.begin());
    for (const std::string& r : records) {
      ASSERT_EQ(r.size(), c.length) << r;
      EXPECT_EQ(r[0], 'T');
    }
    // Margins of well over 100 ms on the one second read.
    const int expected = readMs / c.periodMs;
    EXPECT_GE(static_cast<int>(records.size()), (readMs - 250) / c.periodMs - 1) << expected;
    EXPECT_LE(static_cast<int>(records.size()), (readMs + 250) / c.periodMs) << expected;

    EXPECT_EQ(sim.Stop(), 0);
    EXPECT_EQ(access(link.c_str(), F_OK), -1) << "link removed at exit";
  }
}

TEST(SimulatorProcessTest, GnssSimStreamsCheckedSentencesAndPrintsCommands) {
  TempDir root;
  SimProcess sim;
  ASSERT_TRUE(sim.Start("gnss-sim", {"--format", "0", "--rate", "5"}, root.path()));
  const std::string link = root.path() + "ports/COM6";
  ASSERT_NE(WaitForLink(link, 5000), "");
  int fd = OpenRaw(link);
  ASSERT_GE(fd, 0);
  auto lines = AssembleNmeaLines(ReadFor(fd, 1200));
  int gga = 0, gsa = 0;
  for (const std::string& l : lines) {
    if (l[0] != '$') continue;  // a cut first line
    EXPECT_TRUE(NmeaChecksumOk(l)) << l;
    gga += NmeaHasTag(l, "GGA");
    gsa += NmeaHasTag(l, "GSA");
  }
  // 5 Hz over 1.2 s: 6 epochs, with margins of 200 ms either way.
  EXPECT_GE(gga, 5);
  EXPECT_LE(gga, 7);
  EXPECT_NEAR(gsa, gga, 1);

  const std::string command = "$PASHS,NME,SAT,A,ON\r\n";
  ASSERT_EQ(write(fd, command.data(), command.size()), static_cast<ssize_t>(command.size()));
  std::string out;
  for (int i = 0; i < 20 && out.find("received: $PASHS,NME,SAT,A,ON\n") == std::string::npos; ++i)
    out = sim.ReadOutput(100);
  EXPECT_NE(out.find("received: $PASHS,NME,SAT,A,ON\n"), std::string::npos) << out;
  close(fd);
  EXPECT_EQ(sim.Stop(), 0);
  EXPECT_EQ(access(link.c_str(), F_OK), -1);
}

TEST(SimulatorProcessTest, UnpluggedSimulatorComesBackOnANewPty) {
  const struct {
    const char* tool;
    std::vector<std::string> args;
    const char* port;
  } cases[] = {
      {"gnss-sim", {"--rate", "10", "--unplug-for", "0.6"}, "COM6"},
      {"em38-sim", {"--unplug-for", "0.6"}, "COM4"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.tool);
    TempDir root;
    SimProcess sim;
    ASSERT_TRUE(sim.Start(c.tool, c.args, root.path()));
    const std::string link = root.path() + "ports/" + c.port;
    ASSERT_NE(WaitForLink(link, 5000), "");
    int fd = OpenRaw(link);
    ASSERT_GE(fd, 0);
    EXPECT_FALSE(ReadFor(fd, 300).empty());

    sim.Signal(SIGUSR2);
    // The link goes and the old pty hangs up: reads end within the margin instead of blocking.
    const auto t0 = std::chrono::steady_clock::now();
    EXPECT_TRUE(WaitForLinkGone(link, 400));
    ReadFor(fd, 2000);
    EXPECT_LT(std::chrono::steady_clock::now() - t0, std::chrono::milliseconds(500));
    close(fd);

    ASSERT_NE(WaitForLink(link, 3000), "") << sim.ReadOutput(100);
    fd = OpenRaw(link);
    ASSERT_GE(fd, 0);
    const std::string bytes = ReadFor(fd, 400);
    close(fd);
    EXPECT_GE(std::string(c.tool) == "gnss-sim" ? AssembleNmeaLines(bytes).size() : SplitCrRecords(bytes).size(),
              2u);
    EXPECT_NE(sim.ReadOutput(100).find("plugged in again"), std::string::npos);
    EXPECT_EQ(sim.Stop(), 0);
  }
}

TEST(SimulatorProcessTest, GnssSimSilenceOnSignal) {
  TempDir root;
  SimProcess sim;
  ASSERT_TRUE(sim.Start("gnss-sim", {"--rate", "10", "--silence-for", "0.8"}, root.path()));
  const std::string link = root.path() + "ports/COM6";
  ASSERT_NE(WaitForLink(link, 5000), "");
  int fd = OpenRaw(link);
  ASSERT_GE(fd, 0);
  EXPECT_FALSE(ReadFor(fd, 300).empty());
  sim.Signal(SIGUSR1);
  ReadFor(fd, 150);  // what was on its way
  EXPECT_EQ(ReadFor(fd, 450), "");
  EXPECT_FALSE(ReadFor(fd, 600).empty()) << "talks again after the silence";
  close(fd);
  EXPECT_EQ(sim.Stop(), 0);
}

TEST(SimulatorProcessTest, BadOptionsAreRefusedWithAMessage) {
  struct Case {
    const char* tool;
    std::vector<std::string> args;
  };
  const Case cases[] = {
      {"em38-sim", {"--length", "9"}},     {"em38-sim", {"--port", "COM100"}},
      {"em38-sim", {"--ramp", "1:2"}},     {"em38-sim", {"--scenario", "/nonexistent/file"}},
      {"gnss-sim", {"--format", "9"}},     {"gnss-sim", {"--rate", "0"}},
      {"gnss-sim", {"--origin", "95,0"}},  {"gnss-sim", {"--bogus"}},
      {"gnss-sim", {"--rate"}},
  };
  for (const Case& c : cases) {
    TempDir root;
    SimProcess sim;
    ASSERT_TRUE(sim.Start(c.tool, c.args, root.path()));
    EXPECT_EQ(sim.Wait(3000), 2) << c.tool << " " << c.args[0];
    EXPECT_EQ(access((root.path() + "ports").c_str(), F_OK), -1) << "no link made";
  }
}

TEST(SimulatorProcessTest, SharedScenarioFileIsWrittenAndRead) {
  TempDir root;
  const std::string file = root.file("survey.scn");
  SimProcess writer;
  ASSERT_TRUE(writer.Start("gnss-sim", {"--write-scenario", file, "--speed", "2"}, root.path()));
  ASSERT_EQ(writer.Wait(3000), 0);
  const std::string text = ReadFile(file);
  EXPECT_NE(text.find("speed = 2\n"), std::string::npos) << text;
  EXPECT_NE(text.find("start_time = "), std::string::npos);

  SimProcess em38;
  ASSERT_TRUE(em38.Start("em38-sim", {"--scenario", file}, root.path()));
  const std::string link = root.path() + "ports/COM4";
  ASSERT_NE(WaitForLink(link, 5000), "");
  EXPECT_EQ(em38.Stop(), 0);
}

}  // namespace
}  // namespace obrix::test
