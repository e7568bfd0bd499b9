// The simulator programs replaying a recorded survey over their pseudo-terminal links.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <vector>

#include "gps/line_assembler.h"
#include "sim/replay_fixture.h"
#include "sim/sim_process.h"
#include "sim/stream_split.h"
#include "test_support.h"

namespace obrix::test {
namespace {

// Runs a tool to its end with OBRIX38_HOME = `root`, stdout and stderr together in *out; returns the exit
// status (-1 when it hung and was killed).
int RunTool(const std::string& tool, const std::vector<std::string>& args, const std::string& root, std::string* out) {
  int fds[2];
  if (pipe2(fds, O_CLOEXEC) != 0) return -1;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, fds[1], 1);
  posix_spawn_file_actions_adddup2(&actions, fds[1], 2);
  std::vector<std::string> argStore = {BinFolder() + "/" + tool};
  argStore.insert(argStore.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (auto& a : argStore) argv.push_back(a.data());
  argv.push_back(nullptr);
  std::vector<std::string> envStore = {"OBRIX38_HOME=" + root};
  for (char** e = environ; *e; ++e)
    if (std::string(*e).rfind("OBRIX38_HOME=", 0) != 0) envStore.emplace_back(*e);
  std::vector<char*> envp;
  for (auto& e : envStore) envp.push_back(e.data());
  envp.push_back(nullptr);
  pid_t pid = -1;
  const int rc = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data());
  posix_spawn_file_actions_destroy(&actions);
  close(fds[1]);
  if (rc != 0) {
    close(fds[0]);
    return -1;
  }
  out->clear();
  char buf[1024];
  for (;;) {  // to the end of the output, within 10 s
    pollfd p{fds[0], POLLIN, 0};
    if (poll(&p, 1, 10000) <= 0) {
      kill(pid, SIGKILL);
      break;
    }
    const ssize_t n = read(fds[0], buf, sizeof buf);
    if (n <= 0) break;
    out->append(buf, static_cast<size_t>(n));
  }
  close(fds[0]);
  int status = 0;
  waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// `got` is `want` without at most `lost` items at its start (sent before the port was opened).
void ExpectTail(const std::vector<std::string>& got, const std::vector<std::string>& want, size_t lost) {
  ASSERT_LE(got.size(), want.size());
  ASSERT_GE(got.size() + lost, want.size()) << "items lost in the middle";
  const size_t skipped = want.size() - got.size();
  for (size_t i = 0; i < got.size(); ++i) ASSERT_EQ(got[i], want[skipped + i]) << "item " << i << " of " << got.size();
}

TEST(ReplayProcessTest, BadFilesAndOptionsAreRefused) {
  DataRootFixture fixture;
  const std::string root = fixture.dir().path();
  const std::string survey = root + "survey.T38", readingsOnly = root + "grd.T38", sentencesOnly = root + "gps.GXY";
  WriteFile(survey, MakeSurvey({{}}).bytes);
  WriteFile(readingsOnly, MakeSurvey({{1000, 1000, true, false, "", 0, 0}}).bytes);
  WriteFile(sentencesOnly, MakeSurvey({{1000, 1000, false, true, "", 0, 0}}).bytes);
  WriteFile(root + "empty.T38", "");
  WriteFile(root + "foreign.txt", "Some notes about the field\nwith a second line of text\n");
  ASSERT_EQ(mkfifo((root + "fifo.T38").c_str(), 0600), 0);  // opening it for reading would wait for a writer
  struct Case {
    const char* tool;
    std::vector<std::string> args;
    int status;
    const char* message;
  };
  const Case cases[] = {
      {"em38-sim", {"--replay", root + "missing.T38"}, 1, "cannot open"},
      {"gnss-sim", {"--replay", root + "empty.T38"}, 1, "is empty"},
      {"em38-sim", {"--replay", root + "foreign.txt"}, 1, "is not a survey data file"},
      {"gnss-sim", {"--replay", root}, 1, "not a regular file (a folder)"},
      {"em38-sim", {"--replay", root + "fifo.T38"}, 1, "not a regular file (a FIFO)"},
      {"gnss-sim", {"--replay", root + "fifo.T38"}, 1, "not a regular file (a FIFO)"},
      {"em38-sim", {"--replay", "/dev/zero"}, 1, "not a regular file (a character device)"},
      {"em38-sim", {"--replay", sentencesOnly}, 1, "holds no readings to replay"},
      {"gnss-sim", {"--replay", readingsOnly}, 1, "holds no sentences or raw lines to replay"},
      {"em38-sim", {"--replay", survey, "--length", "12"}, 2, "--length cannot be used with --replay"},
      {"em38-sim", {"--value", "3", "--replay", survey}, 2, "--value cannot be used with --replay"},
      {"gnss-sim", {"--replay", survey, "--format", "2"}, 2, "--format cannot be used with --replay"},
      {"gnss-sim", {"--rate", "5", "--replay", survey}, 2, "--rate cannot be used with --replay"},
      {"em38-sim", {"--replay", survey, "--speed", "200"}, 2, "--speed takes a factor from 0.1 to 100"},
      {"gnss-sim", {"--speed", "0.05", "--replay", survey}, 2, "--speed takes a factor from 0.1 to 100"},
      {"em38-sim", {"--loop"}, 2, "--loop needs --replay"},
      {"em38-sim", {"--speed", "2"}, 2, "--speed needs --replay"},
      {"gnss-sim", {"--loop"}, 2, "--loop needs --replay"},
      {"gnss-sim", {"--speed", "500"}, 2, "--speed takes 0 .. 100 m/s"},  // the walking speed without --replay
      {"em38-sim", {"--replay"}, 2, "--replay takes a data file"},
  };
  for (const Case& c : cases) {
    std::string args;
    for (const std::string& a : c.args) args += " " + a;
    SCOPED_TRACE(std::string(c.tool) + args);
    std::string out;
    EXPECT_EQ(RunTool(c.tool, c.args, root, &out), c.status) << out;
    EXPECT_NE(out.find(c.message), std::string::npos) << out;
    EXPECT_NE(access((root + "ports/COM4").c_str(), F_OK), 0);
    EXPECT_NE(access((root + "ports/COM6").c_str(), F_OK), 0);
  }
}

// Nothing opens the port: the pseudo-terminal fills, what it cannot take is dropped and the replay still ends
// after its last item; an hour without items is replayed as 10 s.
TEST(ReplayProcessTest, ReplayEndsWhenNothingReadsThePortAndShortensLongGaps) {
  TempDir root;
  const std::string path = root.file("burst.T38");
  std::string bytes = MakeSurvey({{1000, 0, false, false, "", 0, 0}}).bytes;
  const std::string gga = "$GPGGA,120000.00,4807.0380,N,01131.0000,E,1,08,0.9,545.4,M,46.9,M,,*47";
  for (int i = 0; i < 800; ++i) bytes += SentenceGroup(gga, 1000, '@', '#', '!', ' ', 0);  // about 60 KB at once
  bytes += SentenceGroup(gga, 1100, '@', '#', '!', ' ', 0);
  bytes += SentenceGroup(gga, 1100 + 3600000, '@', '#', '!', ' ', 0);
  WriteFile(path, bytes);
  std::string out;
  const auto started = std::chrono::steady_clock::now();
  EXPECT_EQ(RunTool("gnss-sim", {"--replay", path, "--speed", "100"}, root.path(), &out), 0) << out;
  EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(8));
  EXPECT_NE(out.find("1 recorded gaps longer than 10 s between items are shortened to 10 s"), std::string::npos)
      << out;
  EXPECT_NE(out.find("replay finished (802 items sent, 0 skipped, "), std::string::npos) << out;
  EXPECT_NE(out.find("bytes dropped for want of a reader"), std::string::npos) << out;
}

TEST(ReplayProcessTest, HelpTextsNameTheReplayOptions) {
  TempDir root;
  for (const char* tool : {"em38-sim", "gnss-sim"}) {
    std::string out;
    EXPECT_EQ(RunTool(tool, {"--help"}, root.path(), &out), 0);
    for (const char* option : {"--replay FILE", "--speed N", "--loop"})
      EXPECT_NE(out.find(option), std::string::npos) << tool << " " << option;
  }
}

// Both tools started together stream the whole file in order, the second session after the first, and end.
TEST(ReplayProcessTest, BothToolsStreamTheFileAndEnd) {
  TempDir root;
  const std::string path = root.file("survey.T38");
  const ReplayContent survey =
      MakeSurvey({{0xFFFFFC00u, 1500, true, true, "JUNK-LINE-1", 0, 0}, {77000, 700, true, true, "", 100, 10}});
  WriteFile(path, survey.bytes);
  SimProcess em, gps;
  const auto started = std::chrono::steady_clock::now();
  ASSERT_TRUE(em.Start("em38-sim", {"--replay", path, "--speed", "2", "--port", "COM3"}, root.path()));
  ASSERT_TRUE(gps.Start("gnss-sim", {"--replay", path, "--speed", "2"}, root.path()));
  const std::string emLink = root.file("ports/COM3"), gpsLink = root.file("ports/COM6");
  ASSERT_NE(WaitForLink(emLink, 5000), "") << em.ReadOutput(100);
  ASSERT_NE(WaitForLink(gpsLink, 5000), "") << gps.ReadOutput(100);
  int emFd = OpenRaw(emLink), gpsFd = OpenRaw(gpsLink);
  ASSERT_GE(emFd, 0);
  ASSERT_GE(gpsFd, 0);
  // The file lasts 1.5 + 1 + 0.7 s: 1.6 s at twice the speed. Each tool ends once its port was drained.
  std::string emBytes, gpsBytes;
  auto finished = [](SimProcess& p) { return p.ReadOutput(0).find("replay finished") != std::string::npos; };
  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(8);
  while (!(finished(em) && finished(gps)) && std::chrono::steady_clock::now() < end) {
    emBytes += ReadFor(emFd, 20);
    gpsBytes += ReadFor(gpsFd, 20);
  }
  // The last reading is 3088 ms into the timeline: sent no sooner than 1544 ms after the start.
  EXPECT_GE(std::chrono::steady_clock::now() - started, std::chrono::milliseconds(1400));
  EXPECT_EQ(em.Wait(5000), 0) << em.ReadOutput(0);
  EXPECT_EQ(gps.Wait(5000), 0) << gps.ReadOutput(0);
  close(emFd);
  close(gpsFd);
  EXPECT_EQ(access(emLink.c_str(), F_OK), -1) << "link removed at the end";

  const std::vector<std::string> records = SplitCrRecords(emBytes), lines = AssembleNmeaLines(gpsBytes);
  // The first items may have gone out before the ports were opened here; none may be missing later.
  ExpectTail(records, survey.readings, survey.readings.size() / 2);
  ExpectTail(lines, survey.sentences, survey.sentences.size() / 2);
  for (const std::string& r : records) EXPECT_EQ(r.size(), 7u) << r;
}

}  // namespace
}  // namespace obrix::test
