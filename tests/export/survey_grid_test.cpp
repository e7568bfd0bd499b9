#include <gtest/gtest.h>

#include <cmath>
#include <fcntl.h>
#include <unistd.h>

#include <gdal_priv.h>

#include "export/grid_input.h"
#include "export/sim_survey.h"
#include "export/survey_export.h"
#include "gis/gdal_support.h"
#include "gis/survey_grid.h"
#include "test_support.h"

namespace obrix {
namespace {

GridInput Collect(const std::string& survey, ExportOptions options = {}) {
  GridCollector c;
  const int fd = ::open(survey.c_str(), O_RDONLY);
  EXPECT_GE(fd, 0);
  ExportSurvey(fd, [&c](const ExportRow& r) { c.Add(r); }, options);
  ::close(fd);
  return c.Take();
}

float At(const GridRaster& r, double x, double y) {
  const int col = static_cast<int>(std::floor((x - r.plan.west) / r.plan.cell));
  const int row = static_cast<int>(std::floor((r.plan.north - y) / r.plan.cell));
  if (col < 0 || row < 0 || col >= r.plan.columns || row >= r.plan.rows) return NAN;
  return r.values[static_cast<size_t>(row) * r.plan.columns + col];
}

TEST(SurveyGrid, NearestAtAReadingsOwnCellGivesThatReadingNorthUpAndReadsBack) {
  // Readings at cell centres, a few cells apart: each method at a reading's own cell gives (about) its value.
  GridInput in;
  in.geographic = true;
  in.zone = 17;
  for (int i = 0; i < 6; ++i) {
    for (int j = 0; j < 4; ++j) {
      in.points.x.push_back(600000.5 + 3 * i);
      in.points.y.push_back(4830000.5 + 5 * j);
      in.points.z.push_back(10 * i + j);
      in.points.path.push_back(0);
    }
  }
  GridPlan plan;
  std::string why;
  ASSERT_TRUE(PlanGrid(in.points, 1.0, 0.6, GridMethod::Nearest, plan, why)) << why;
  EXPECT_EQ(plan.west, 599999.0);  // the extent plus one cell
  EXPECT_EQ(plan.north, 4830017.0);
  EXPECT_EQ(plan.columns, 18);
  EXPECT_EQ(plan.rows, 18);
  for (GridMethod m : {GridMethod::Nearest, GridMethod::Idw, GridMethod::Average, GridMethod::Linear}) {
    SCOPED_TRACE(GridMethodName(m));
    plan.method = m;
    GridRaster r;
    ASSERT_TRUE(GridSurvey(in, plan, r, why)) << why;
    for (size_t k = 0; k < in.points.x.size(); ++k)
      EXPECT_NEAR(At(r, in.points.x[k], in.points.y[k]), in.points.z[k], 1e-4) << k;
    EXPECT_EQ(At(r, 600002.5, 4830003.0), GridRaster::kNoData);  // no reading within 0.6
    EXPECT_EQ(r.filled, 24);
    EXPECT_EQ(r.min, 0.0f);
    EXPECT_EQ(r.max, 53.0f);
  }

  test::TempDir dir;
  plan.method = GridMethod::Nearest;
  GridRaster r;
  ASSERT_TRUE(GridSurvey(in, plan, r, why));
  ASSERT_TRUE(WriteGridTiff(dir.file("g.tif"), r, in, why)) << why;
  GDALDataset* ds = GDALDataset::Open(dir.file("g.tif").c_str(), GDAL_OF_RASTER | GDAL_OF_READONLY);
  ASSERT_NE(ds, nullptr);
  double t[6];
  ASSERT_EQ(ds->GetGeoTransform(t), CE_None);
  const double want[6] = {599999.0, 1.0, 0.0, 4830017.0, 0.0, -1.0};
  for (int i = 0; i < 6; ++i) EXPECT_EQ(t[i], want[i]) << i;
  ASSERT_NE(ds->GetSpatialRef(), nullptr);
  EXPECT_STREQ(ds->GetSpatialRef()->GetAuthorityCode(nullptr), "32617");
  EXPECT_STREQ(ds->GetMetadataItem("AREA_OR_POINT"), "Area");
  GDALRasterBand* band = ds->GetRasterBand(1);
  EXPECT_EQ(band->GetRasterDataType(), GDT_Float32);
  int has = 0;
  EXPECT_EQ(band->GetNoDataValue(&has), GridRaster::kNoData);
  EXPECT_TRUE(has);
  float v = 0;
  ASSERT_EQ(band->RasterIO(GF_Read, 1 + 3, 16 - 5, 1, 1, &v, 1, 1, GDT_Float32, 0, 0, nullptr), CE_None);
  EXPECT_EQ(v, 11.0f);  // x 600003.5, y 4830005.5
  GDALClose(ds);

  in.north = false;  // the southern zone
  ASSERT_TRUE(WriteColourTiff(dir.file("c.tif"), r, in, ColourScale{0, 60}, why)) << why;
  ds = GDALDataset::Open(dir.file("c.tif").c_str(), GDAL_OF_RASTER | GDAL_OF_READONLY);
  ASSERT_NE(ds, nullptr);
  EXPECT_EQ(ds->GetRasterCount(), 4);
  EXPECT_EQ(ds->GetRasterBand(4)->GetColorInterpretation(), GCI_AlphaBand);
  EXPECT_STREQ(ds->GetSpatialRef()->GetAuthorityCode(nullptr), "32717");
  uint8_t px[4] = {};
  int bands[4] = {1, 2, 3, 4};
  ASSERT_EQ(ds->RasterIO(GF_Read, 0, 0, 1, 1, px, 1, 1, GDT_Byte, 4, bands, 4, 4, 1, nullptr), CE_None);
  EXPECT_EQ(px[3], 0);  // empty: transparent
  ASSERT_EQ(ds->RasterIO(GF_Read, 1, 16, 1, 1, px, 1, 1, GDT_Byte, 4, bands, 4, 4, 1, nullptr), CE_None);
  EXPECT_EQ(px[3], 255);
  EXPECT_EQ(px[0], 32);  // value 0: the scale's first colour
  EXPECT_EQ(px[2], 255);
  GDALClose(ds);
}

TEST(SurveyGrid, PlanRefusesWhatCannotBeGridded) {
  GridPoints none, one, wide;
  one.x = {10.0};
  one.y = {20.0};
  one.z = {1.0};
  one.path = {0.0};
  wide.x = {0.0, 1000.0};
  wide.y = {0.0, 1000.0};
  wide.z = {1.0, 2.0};
  wide.path = {0.0, 1414.0};
  GridPlan plan;
  std::string why;
  const struct {
    const char* name;
    const GridPoints& points;
    double cell, radius;
    const char* why;
  } cases[] = {
      {"no points", none, 1.0, 1.0, "no positioned readings"},
      {"zero cell", one, 0.0, 1.0, "cell must be"},
      {"NaN radius", one, 1.0, NAN, "radius must be"},
      {"too many cells", wide, 0.1, 1.0, "choose a larger --cell"},
  };
  for (const auto& c : cases) {
    EXPECT_FALSE(PlanGrid(c.points, c.cell, c.radius, GridMethod::Idw, plan, why)) << c.name;
    EXPECT_NE(why.find(c.why), std::string::npos) << c.name << ": " << why;
  }
  EXPECT_TRUE(PlanGrid(one, 1.0, 1.0, GridMethod::Idw, plan, why));
  EXPECT_EQ(plan.columns, 3);  // the point's cell and one either side
  EXPECT_EQ(plan.rows, 3);
}

TEST(SurveyGrid, TracksPairedUpByALateralOffsetStillGiveTheLineSpacing) {
  test::DataRootFixture root;
  ResetDataFile();
  const std::string survey = root.dir().file("survey.T38");
  test::SimSurvey s;
  s.lateral = 0.3;  // sensor tracks 0.4 and 1.6 m apart in turn
  s.scenario.lines = 5;
  s.scenario.speed = 2.4;
  s.Open(survey);
  s.Run(85000);
  s.Close();
  ResetDataFile();
  const SurveySpacing spacing = MeasureSpacing(Collect(survey).points);
  EXPECT_NEAR(spacing.lines, 1.0, 0.1);
  EXPECT_NEAR(DefaultRadius(spacing, DefaultCell(spacing)), 1.5, 0.15);
}

TEST(SurveyGrid, AnomalyPeaksAtItsCentreAndUnsurveyedGroundStaysEmpty) {
  test::DataRootFixture root;
  ResetDataFile();
  const std::string survey = root.dir().file("survey.T38");
  test::SimSurvey s;
  // Ten lines 1 m apart heading 30 degrees, so the corners of the extent lie far from them; the anomaly sits on
  // the fifth line half way along.
  s.scenario.lines = 10;
  s.scenario.speed = 2.4;
  s.scenario.headingDeg = 30.0;
  const double c30 = std::cos(M_PI / 6), s30 = 0.5;
  s.scenario.anomalyEast = 20 * s30 + 4 * c30;
  s.scenario.anomalyNorth = 20 * c30 - 4 * s30;
  s.Open(survey);
  s.Run(171000);  // 409 m of walk
  s.Close();
  ResetDataFile();

  const GridInput in = Collect(survey);
  EXPECT_TRUE(in.geographic);
  EXPECT_EQ(in.zone, 17);
  EXPECT_TRUE(in.conductivity);
  EXPECT_GT(in.positioned, 2000);
  const SurveySpacing spacing = MeasureSpacing(in.points);
  EXPECT_NEAR(spacing.along, 2.4 * 0.072, 0.02);
  EXPECT_NEAR(spacing.lines, 1.0, 0.1);
  const double cell = DefaultCell(spacing), radius = DefaultRadius(spacing, cell);
  EXPECT_EQ(cell, 0.25);
  EXPECT_NEAR(radius, 1.5, 0.15);

  const UtmCoordinates centre = s.Utm(s.scenario.anomalyEast, s.scenario.anomalyNorth);
  const UtmCoordinates farCorner = s.Utm(1.0, 33.0);  // 15 m left of the first line
  const struct {
    GridMethod method;
    double cells;  // the maximum this many cells (diagonally) from the centre at most
    double peak;   // the maximum this near the anomaly's peak value
  } methods[] = {{GridMethod::Idw, 1, 5}, {GridMethod::Nearest, 1, 5}, {GridMethod::Linear, 1, 5},
                 {GridMethod::Average, 2, 10}};  // a moving average flattens the peak
  for (const auto& [m, cells, peak] : methods) {
    SCOPED_TRACE(GridMethodName(m));
    GridPlan plan;
    std::string why;
    ASSERT_TRUE(PlanGrid(in.points, cell, radius, m, plan, why)) << why;
    GridRaster r;
    ASSERT_TRUE(GridSurvey(in, plan, r, why)) << why;
    size_t best = 0;
    for (size_t i = 0; i < r.values.size(); ++i)
      if (r.values[i] != GridRaster::kNoData && r.values[i] > r.values[best]) best = i;
    const double x = plan.west + (static_cast<double>(best % plan.columns) + 0.5) * cell;
    const double y = plan.north - (static_cast<double>(best / plan.columns) + 0.5) * cell;
    EXPECT_LE(std::hypot(x - centre.easting, y - centre.northing), cells * cell * std::sqrt(2.0) + 1e-9);
    EXPECT_NEAR(r.max, s.scenario.backgroundCond + s.scenario.anomalyCond, peak);
    EXPECT_EQ(At(r, farCorner.easting, farCorner.northing), GridRaster::kNoData);
    const double share = static_cast<double>(r.filled) / static_cast<double>(r.values.size());
    EXPECT_GT(share, 0.25);
    EXPECT_LT(share, 0.75);
  }
}

}  // namespace
}  // namespace obrix
