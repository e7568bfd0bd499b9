// Every program answers --help and --version on standard output with exit code 0, and names an unknown
// option on standard error with a failure code.
#include <gtest/gtest.h>

#include "export/tool_run.h"
#include "platform/program_options.h"

namespace obrix::test {
namespace {

TEST(ProgramOptions, EveryProgramAnswersHelpVersionAndUnknownOptions) {
  TempDir dir;
  // The program is a Qt program: no display needed, and no leak report of the toolkit's own allocations.
  const std::string env = "QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=0 OBRIX38_HOME='" + dir.path() + "' ";
  struct Case {
    const char* program;
    const char* usageStart;
  } cases[] = {
      {"obrix38", "usage: obrix38"},         {"em38-sim", "Usage: em38-sim"},
      {"gnss-sim", "Usage: gnss-sim"},       {"t38dump", "usage: t38dump FILE"},
      {"t38export", "usage: t38export"},     {"t38grid", "usage: t38grid"},
      {"nmea-check", "usage: nmea-check"},   {"obrix38-ports", "Usage: obrix38-ports"},
      {"export-plot", "usage: export-plot"}, {"map-shot", "usage: map-shot"},
      {"wavgen", "usage: wavgen"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.program);
    const std::string tool = env + "'" + ToolPath(c.program) + "'";
    for (const char* help : {"--help", "-h"}) {
      const ToolRun r = RunTool(dir, tool, help, true);
      EXPECT_EQ(r.status, 0) << r.err;
      EXPECT_EQ(r.out.rfind(c.usageStart, 0), 0u) << r.out;
      EXPECT_NE(r.out.find("--version"), std::string::npos) << r.out;
      EXPECT_EQ(r.err, "");
    }
    const ToolRun v = RunTool(dir, tool, "--version", true);
    EXPECT_EQ(v.status, 0) << v.err;
    EXPECT_EQ(v.out, std::string(c.program) + " " + ProgramVersion() + "\n");
    const ToolRun bad = RunTool(dir, tool, "--no-such-option", true);
    EXPECT_NE(bad.status, 0);
    EXPECT_EQ(bad.out, "");
    EXPECT_NE(bad.err.find(std::string(c.program) + ": unknown option --no-such-option"), std::string::npos)
        << bad.err;
  }
}

TEST(ProgramOptions, VersionIsTheProjects) { EXPECT_STREQ(ProgramVersion(), "2.15"); }

}  // namespace
}  // namespace obrix::test
