// The program as a process: the headless demo survey over both simulators, ended by its own failure or by a
// signal, always returns with its readers stopped and its data file whole.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <vector>

#include "datafile/records.h"
#include "sim/sim_process.h"
#include "test_support.h"

namespace obrix::test {
namespace {

using Clock = std::chrono::steady_clock;

// Both simulators on the default ports (EM38 on COM4, receiver on COM6) and the program's environment.
class ProgramProcessTest : public testing::Test {
 protected:
  void SetUp() override {
    // The program is a Qt program: no display, and no leak report of the toolkit's own allocations at exit.
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    const char* asan = std::getenv("ASAN_OPTIONS");
    savedAsan_ = asan ? asan : "";
    setenv("ASAN_OPTIONS", (savedAsan_ + (savedAsan_.empty() ? "" : ":") + "detect_leaks=0").c_str(), 1);
    // The data folder defaults to the home folder.
    const char* home = std::getenv("HOME");
    savedHome_ = home ? home : "";
    setenv("HOME", root_.path().c_str(), 1);
  }
  void TearDown() override {
    setenv("ASAN_OPTIONS", savedAsan_.c_str(), 1);
    setenv("HOME", savedHome_.c_str(), 1);
  }

  void StartSimulators(const std::string& quality) {
    ASSERT_TRUE(em_.Start("em38-sim", {"--port", "COM4"}, root_.path()));
    ASSERT_TRUE(gps_.Start("gnss-sim", {"--port", "COM6", "--quality", quality}, root_.path()));
    ASSERT_NE(WaitForLink(root_.file("ports/COM4"), 5000), "");
    ASSERT_NE(WaitForLink(root_.file("ports/COM6"), 5000), "");
  }

  TempDir root_;
  SimProcess em_, gps_, program_;
  std::string savedAsan_, savedHome_;
};

// A receiver that never fixes: the demo gives up with its message and a failure code, without hanging on its
// reader threads.
TEST_F(ProgramProcessTest, DemoWithoutAFixFailsAndExits) {
  StartSimulators("0");
  ASSERT_TRUE(program_.Start("obrix38", {"--demo-survey", "5", "--demo-fix-wait", "2"}, root_.path(), true));
  const auto started = Clock::now();
  const int status = program_.Wait(30000);
  const std::string& out = program_.ReadOutput();
  EXPECT_EQ(status, 1) << out;
  EXPECT_NE(out.find("demo: no valid GPS fix within 2 s"), std::string::npos) << out;
  EXPECT_LT(Clock::now() - started, std::chrono::seconds(20)) << out;
}

// SIGTERM while recording: the session ends as a pause does and the program returns 0.
TEST_F(ProgramProcessTest, SigtermWhileRecordingEndsTheSessionAndExitsWithZero) {
  StartSimulators("4");
  ASSERT_TRUE(program_.Start("obrix38", {"--demo-survey", "600"}, root_.path(), true));
  const auto end = Clock::now() + std::chrono::seconds(40);
  while (program_.ReadOutput(100).find("demo: recording for") == std::string::npos && Clock::now() < end) {
  }
  const std::string& out = program_.ReadOutput();
  const size_t at = out.find(" into ");
  ASSERT_NE(at, std::string::npos) << out;
  const std::string path = out.substr(at + 6, out.find('\n', at) - at - 6);
  program_.ReadOutput(1500);  // some recording
  program_.Signal(SIGTERM);
  EXPECT_EQ(program_.Wait(10000), 0) << program_.ReadOutput();
  EXPECT_NE(program_.ReadOutput().find("SIGTERM received"), std::string::npos) << program_.ReadOutput();
  const std::string bytes = ReadFile(path);
  ASSERT_EQ(bytes.size() % RecordLength, 0u);
  ASSERT_GE(bytes.size(), static_cast<size_t>(RecordLength));
  EXPECT_EQ(bytes.substr(bytes.size() - RecordLength, 12), "XPAUSED     ") << bytes.substr(bytes.size() - 270);
}

}  // namespace
}  // namespace obrix::test
