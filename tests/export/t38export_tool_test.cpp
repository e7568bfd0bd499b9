#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "export/sim_survey.h"
#include "test_support.h"

namespace obrix {
namespace {

std::string Tool() {
  if (const char* bin = std::getenv("OBRIX_BIN")) return std::string(bin) + "/t38export";
  char self[PATH_MAX] = {};
  const ssize_t n = ::readlink("/proc/self/exe", self, sizeof self - 1);
  std::string dir(self, n > 0 ? static_cast<size_t>(n) : 0);
  return dir.substr(0, dir.find_last_of('/') + 1) + "t38export";
}

struct ToolRun {
  int status;
  std::string out, err;
};

ToolRun Export(const test::TempDir& dir, const std::string& args) {
  const std::string out = dir.file("stdout"), err = dir.file("stderr");
  const int rc = std::system(("'" + Tool() + "' " + args + " >'" + out + "' 2>'" + err + "'").c_str());
  return {WIFEXITED(rc) ? WEXITSTATUS(rc) : -1, test::ReadFile(out), test::ReadFile(err)};
}

TEST(T38ExportTool, ExitCodesAndMessages) {
  test::DataRootFixture root;
  ResetDataFile();
  const test::TempDir& dir = root.dir();
  const std::string survey = dir.file("survey.T38");
  {
    test::SimSurvey s;
    s.Open(survey);
    s.Run(3001);
    s.Close();
  }
  test::WriteFile(dir.file("foreign.txt"), "name,value\n1,2\n");
  test::WriteFile(dir.file("empty.T38"), "");
  ASSERT_EQ(::mkfifo(dir.file("fifo.T38").c_str(), 0600), 0);
  struct Case {
    const char* name;
    std::string args;
    int status;
    const char* inErr;  // part of the message on standard error
    const char* inOut;  // part of the output
  } cases[] = {
      {"csv to standard output", "'" + survey + "'", 0, "positioned", "record,segment,line,station,"},
      {"geojson", "'" + survey + "' --format geojson", 0, "readings", "\"FeatureCollection\""},
      {"kml", "'" + survey + "' --format kml", 0, "readings", "<kml xmlns="},
      {"help", "--help", 0, "", "usage: t38export"},
      {"no file", "", 1, "no FILE given", ""},
      {"unknown format", "'" + survey + "' --format shp", 1, "unknown format \"shp\"", ""},
      {"missing value", "'" + survey + "' --output", 1, "--output needs a value", ""},
      {"missing file", "'" + dir.file("none.T38") + "'", 2, "No such file or directory", ""},
      {"a folder", "'" + dir.path() + "'", 2, "not a regular file (a folder)", ""},
      {"a FIFO (never opened, so nothing waits for a writer)", "'" + dir.file("fifo.T38") + "'", 2,
       "not a regular file (a FIFO)", ""},
      {"foreign file", "'" + dir.file("foreign.txt") + "'", 3, "not a survey data file", ""},
      {"empty file", "'" + dir.file("empty.T38") + "'", 3, "the file is empty", ""},
      {"output not writable", "'" + survey + "' --output '" + dir.file("no/such/folder.csv") + "'", 4,
       "cannot write", ""},
  };
  for (const Case& c : cases) {
    const ToolRun r = Export(dir, c.args);
    EXPECT_EQ(r.status, c.status) << c.name << ": " << r.err;
    EXPECT_NE(r.err.find(c.inErr), std::string::npos) << c.name << ": " << r.err;
    EXPECT_NE(r.out.find(c.inOut), std::string::npos) << c.name;
  }
  const ToolRun file = Export(dir, "'" + survey + "' --output '" + dir.file("out.csv") + "'");
  EXPECT_EQ(file.status, 0);
  EXPECT_EQ(file.out, "");
  EXPECT_EQ(test::ReadFile(dir.file("out.csv")).rfind("record,", 0), 0u);
}

}  // namespace
}  // namespace obrix
