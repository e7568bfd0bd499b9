#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <unistd.h>

#include <gdal_priv.h>

#include "export/sim_survey.h"
#include "export/tool_run.h"
#include "gis/gdal_support.h"
#include "platform/paths.h"
#include "settings/settings_file.h"
#include "test_support.h"

namespace obrix {
namespace {

using test::ToolRun;

TEST(T38GridTool, ExitCodesMessagesAndOutputs) {
  test::DataRootFixture root;
  ResetDataFile();
  const test::TempDir& dir = root.dir();
  const std::string survey = dir.file("survey.T38"), ground = dir.file("ground.T38");
  {
    test::SimSurvey s;
    s.Open(survey);
    s.Run(90000);  // three lines
    s.Close();
  }
  {
    test::SimSurvey s;
    s.Open(ground);
    s.Run(2000, false);  // the receiver never heard: nothing positioned
    s.Close();
  }
  test::WriteFile(dir.file("foreign.txt"), "name,value\n1,2\n");
  test::WriteFile(dir.file("empty.T38"), "");
  const std::string in = "'" + survey + "' ";
  auto out = [&](const char* name) { return "--output '" + dir.file(name) + "'"; };
  struct Case {
    const char* name;
    std::string args;
    int status;
    const char* inErr;  // part of the message on standard error
  } cases[] = {
      {"defaults", in + out("grid.tif"), 0, "cell 0.25 m (default)"},
      {"the zone", in + out("grid.tif"), 0, "UTM zone 17N (EPSG:32617)"},
      {"the summary", in + out("grid.tif"), 0, "filled, values "},
      {"nearest, given cell and radius", in + out("nearest.tif") + " --method nearest --cell 0.5 --radius 2", 0,
       "conductivity (mS/m), dipole V, nearest"},
      {"lag", in + out("lag.tif") + " --lag 300 --method linear", 0, "lag 300 ms"},
      {"colours of the settings' scale", in + out("colour.tif") + " --colour", 0, "colours 0 to 500"},
      {"colours of a given scale", in + out("scaled.tif") + " --colour --scale 10,200", 0, "colours 10 to 200"},
      {"help", "--help", 0, ""},
      {"no output", in, 1, "--output OUT.tif is needed"},
      {"unknown method", in + out("x.tif") + " --method kriging", 1, "unknown method \"kriging\""},
      {"bad cell", in + out("x.tif") + " --cell -1", 1, "bad cell \"-1\""},
      {"bad radius", in + out("x.tif") + " --radius abc", 1, "bad radius"},
      {"bad lag", in + out("x.tif") + " --lag 1.5", 1, "bad lag"},
      {"scale without colours", in + out("x.tif") + " --scale 0,10", 1, "--scale goes with --colour"},
      {"empty scale", in + out("x.tif") + " --colour --scale 5,5", 1, "bad scale"},
      {"too many cells", in + out("x.tif") + " --cell 0.0001", 1, "choose a larger --cell"},
      {"missing file", "'" + dir.file("none.T38") + "' " + out("x.tif"), 2, "No such file or directory"},
      {"foreign file", "'" + dir.file("foreign.txt") + "' " + out("x.tif"), 3, "not a survey data file"},
      {"empty file", "'" + dir.file("empty.T38") + "' " + out("x.tif"), 3, "the file is empty"},
      {"output not writable", in + "--output '" + dir.file("no/such/x.tif") + "'", 4, "t38grid: "},
      {"nothing positioned", "'" + ground + "' " + out("x.tif"), 5, "no positioned readings to grid"},
  };
  // The data root of the tools: no settings file (the default scale), then one with a scale of its own.
  const std::string home = dir.file("home");
  for (const Case& c : cases) {
    const ToolRun r = test::RunTool(dir, "t38grid", c.args, false, home);
    EXPECT_EQ(r.status, c.status) << c.name << ": " << r.err;
    EXPECT_NE(r.err.find(c.inErr), std::string::npos) << c.name << ": " << r.err;
  }
  EXPECT_NE(::access(dir.file("x.tif").c_str(), F_OK), 0);  // failures leave no file
  EXPECT_NE(::access((home + "/Obrix38").c_str(), F_OK), 0);    // nor a settings file

  SetDataRoot(home + "/");
  Config().condScaleMin = 10;
  Config().condScaleMax = 250;
  Config().inphScaleMin = -3;
  SaveLoadSettings(Save);
  const std::string settings = test::ReadFile(SettingsPath());
  ASSERT_FALSE(settings.empty());
  ToolRun r = test::RunTool(dir, "t38grid", in + out("colour2.tif") + " --colour", false, home);
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.err.find("colours 10 to 250"), std::string::npos) << r.err;
  EXPECT_EQ(test::ReadFile(SettingsPath()), settings);  // read, never rewritten

  InitGdal();
  const struct {
    const char* file;
    int bands;
    GDALDataType type;
    double cell;
  } outputs[] = {{"grid.tif", 1, GDT_Float32, 0.25}, {"nearest.tif", 1, GDT_Float32, 0.5},
                 {"colour.tif", 4, GDT_Byte, 0.25}};
  for (const auto& o : outputs) {
    SCOPED_TRACE(o.file);
    GDALDataset* ds = GDALDataset::Open(dir.file(o.file).c_str(), GDAL_OF_RASTER | GDAL_OF_READONLY);
    ASSERT_NE(ds, nullptr);
    EXPECT_EQ(ds->GetRasterCount(), o.bands);
    EXPECT_EQ(ds->GetRasterBand(1)->GetRasterDataType(), o.type);
    double t[6];
    ASSERT_EQ(ds->GetGeoTransform(t), CE_None);
    EXPECT_EQ(t[1], o.cell);
    EXPECT_EQ(t[5], -o.cell);
    EXPECT_EQ(t[2], 0.0);
    EXPECT_EQ(t[4], 0.0);
    EXPECT_DOUBLE_EQ(std::fmod(t[0], o.cell), 0.0);  // corners on whole cells
    ASSERT_NE(ds->GetSpatialRef(), nullptr);
    EXPECT_STREQ(ds->GetSpatialRef()->GetAuthorityCode(nullptr), "32617");
    GDALClose(ds);
    // GDAL's own tool reads it and computes the statistics without a warning.
    if (test::OnPath("gdalinfo")) {
      const ToolRun info = test::RunTool(dir, "gdalinfo", "-stats '" + dir.file(o.file) + "'", true);
      EXPECT_EQ(info.status, 0);
      EXPECT_EQ(info.err, "");
      EXPECT_NE(info.out.find("STATISTICS_MAXIMUM"), std::string::npos);
    }
  }
}

}  // namespace
}  // namespace obrix
