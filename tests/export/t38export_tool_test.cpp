#include <gtest/gtest.h>

#include <string>
#include <sys/stat.h>

#include "export/sim_survey.h"
#include "export/tool_run.h"
#include "test_support.h"

namespace obrix {
namespace {

using test::ToolRun;

ToolRun Export(const test::TempDir& dir, const std::string& args) { return test::RunTool(dir, "t38export", args); }

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
      {"geopackage", "'" + survey + "' --format gpkg --output '" + dir.file("out.gpkg") + "'", 0,
       "positions in UTM zone 17N (EPSG:32617)", ""},
      {"lag", "'" + survey + "' --lag 250", 0, "lag 250 ms", "record,"},
      {"geopackage to standard output", "'" + survey + "' --format gpkg", 1, "a GeoPackage needs --output", ""},
      {"negative lag", "'" + survey + "' --lag -5", 1, "bad lag \"-5\"", ""},
      {"lag beyond a minute", "'" + survey + "' --lag 60001", 1, "bad lag", ""},
      {"geopackage not writable", "'" + survey + "' --format gpkg --output '" + dir.file("no/such/x.gpkg") + "'", 4,
       "t38export: ", ""},
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

  // GDAL's own reader takes the GeoPackage without a warning.
  if (test::OnPath("ogrinfo")) {
    const ToolRun info = test::RunTool(dir, "ogrinfo", "-al -so '" + dir.file("out.gpkg") + "'", true);
    EXPECT_EQ(info.status, 0);
    EXPECT_EQ(info.err, "");
    EXPECT_NE(info.out.find("Layer name: readings"), std::string::npos) << info.out;
    EXPECT_NE(info.out.find("Layer name: track"), std::string::npos);
    EXPECT_NE(info.out.find("ID[\"EPSG\",32617]"), std::string::npos);
  }
}

}  // namespace
}  // namespace obrix
