#include <gtest/gtest.h>

#include <cmath>
#include <fcntl.h>
#include <map>
#include <unistd.h>
#include <vector>

#include <gdal_priv.h>
#include <ogrsf_frmts.h>

#include "export/sim_survey.h"
#include "export/survey_export.h"
#include "gis/gdal_support.h"
#include "gis/geopackage_writer.h"
#include "test_support.h"

namespace obrix {
namespace {

class GeoPackageTest : public ::testing::Test {
 protected:
  void SetUp() override { ResetDataFile(); }
  void TearDown() override { ResetDataFile(); }

  // The rows of the file and its GeoPackage, written by the same walk.
  std::vector<ExportRow> Export(const std::string& survey, const std::string& gpkg, GeoPackageWriter** keep = nullptr) {
    std::vector<ExportRow> rows;
    int fd = ::open(survey.c_str(), O_RDONLY);
    ExportSurvey(fd, [&rows](const ExportRow& r) { rows.push_back(r); });
    ::close(fd);
    fd = ::open(survey.c_str(), O_RDONLY);
    writer_ = std::make_unique<GeoPackageWriter>(gpkg);
    const ExportSummary summary = ExportSurveyOverlapped(fd, *writer_);  // as t38export writes it
    EXPECT_EQ(summary.counts.readings, static_cast<int64_t>(rows.size()));
    ::close(fd);
    EXPECT_TRUE(writer_->ok()) << writer_->error();
    return rows;
  }

  test::DataRootFixture root_;
  std::unique_ptr<GeoPackageWriter> writer_;
};

struct Dataset {
  explicit Dataset(const std::string& path) {
    InitGdal();
    ds = GDALDataset::Open(path.c_str(), GDAL_OF_VECTOR | GDAL_OF_READONLY);
  }
  ~Dataset() {
    if (ds) GDALClose(ds);
  }
  GDALDataset* ds;
};

TEST_F(GeoPackageTest, ReadingsAndTrackReadBackWithTypesPositionsAndCrs) {
  const std::string survey = root_.dir().file("survey.T38"), gpkg = root_.dir().file("survey.gpkg");
  test::SimSurvey s;
  s.lateral = 0.3;
  s.Open(survey);
  s.Run(1500, false);  // readings before the first fix: no position
  s.Run(10001);
  s.Pause(2000);
  s.Run(8001);
  s.NewLine("L2");
  s.Run(6001);
  s.Close();
  const std::vector<ExportRow> rows = Export(survey, gpkg);

  Dataset d(gpkg);
  ASSERT_NE(d.ds, nullptr);
  OGRLayer* readings = d.ds->GetLayerByName("readings");
  ASSERT_NE(readings, nullptr);
  ASSERT_EQ(readings->GetFeatureCount(), static_cast<GIntBig>(rows.size()));
  const OGRSpatialReference* srs = readings->GetSpatialRef();
  ASSERT_NE(srs, nullptr);
  EXPECT_STREQ(srs->GetAuthorityName(nullptr), "EPSG");
  EXPECT_STREQ(srs->GetAuthorityCode(nullptr), "32617");
  EXPECT_EQ(writer_->epsg(), 32617);

  const struct {
    const char* name;
    OGRFieldType type;
  } fields[] = {{"record", OFTInteger64}, {"segment", OFTInteger},   {"line", OFTString},       {"station", OFTReal},
                {"date", OFTDate},        {"local_time", OFTString}, {"utc_time", OFTString},   {"tick", OFTInteger64},
                {"channel", OFTInteger},  {"component", OFTString},  {"dipole", OFTString},     {"value", OFTReal},
                {"marker", OFTInteger},   {"easting", OFTReal},      {"northing", OFTReal},     {"units", OFTString},
                {"zone", OFTInteger},     {"latitude", OFTReal},     {"longitude", OFTReal},    {"quality", OFTInteger},
                {"satellites", OFTInteger}, {"dop", OFTReal},        {"flags", OFTString},
                {"local_datetime", OFTDateTime}};
  const OGRFeatureDefn* defn = readings->GetLayerDefn();
  ASSERT_EQ(defn->GetFieldCount(), static_cast<int>(std::size(fields)));
  for (int i = 0; i < defn->GetFieldCount(); ++i) {
    EXPECT_STREQ(defn->GetFieldDefn(i)->GetNameRef(), fields[i].name);
    EXPECT_EQ(defn->GetFieldDefn(i)->GetType(), fields[i].type) << fields[i].name;
  }
  EXPECT_EQ(defn->GetFieldDefn(defn->GetFieldIndex("marker"))->GetSubType(), OFSTBoolean);

  int unpositioned = 0;
  size_t i = 0;
  readings->ResetReading();
  for (auto& f : *readings) {
    ASSERT_LT(i, rows.size());
    const ExportRow& r = rows[i++];
    SCOPED_TRACE(r.record);
    EXPECT_EQ(f->GetFieldAsInteger64("record"), r.record);
    EXPECT_EQ(f->GetFieldAsString("line"), r.line);
    EXPECT_DOUBLE_EQ(f->GetFieldAsDouble("value"), r.value);
    EXPECT_EQ(f->GetFieldAsString("flags"), ExportFlagText(r.flags));
    const OGRGeometry* g = f->GetGeometryRef();
    if (!r.positioned) {
      EXPECT_EQ(g, nullptr);
      EXPECT_TRUE(f->IsFieldNull(f->GetFieldIndex("easting")));
      ++unpositioned;
      continue;
    }
    ASSERT_NE(g, nullptr);
    const OGRPoint* p = g->toPoint();
    EXPECT_NEAR(p->getX(), r.easting, 0.0006);  // the CSV's millimetres
    EXPECT_NEAR(p->getY(), r.northing, 0.0006);
    EXPECT_DOUBLE_EQ(f->GetFieldAsDouble("easting"), std::round(r.easting * 1000) / 1000);
    EXPECT_EQ(f->GetFieldAsInteger("zone"), 17);
    int y, m, day, h, min, tz;
    float sec;
    ASSERT_TRUE(f->GetFieldAsDateTime(f->GetFieldIndex("local_datetime"), &y, &m, &day, &h, &min, &sec, &tz));
    EXPECT_EQ(DayNumber(y, m, day), r.localDay);
    EXPECT_NEAR(((h * 60 + min) * 60.0 + static_cast<double>(sec)) * 1000.0, static_cast<double>(r.localMs), 0.5);
    EXPECT_EQ(f->GetFieldAsString("local_time"), MillisText(r.localMs));
  }
  EXPECT_EQ(i, rows.size());
  EXPECT_GT(unpositioned, 10);

  // One feature a line and session; the pause splits the first line's track in two parts.
  OGRLayer* track = d.ds->GetLayerByName("track");
  ASSERT_NE(track, nullptr);
  ASSERT_EQ(track->GetFeatureCount(), 2);
  EXPECT_STREQ(track->GetSpatialRef()->GetAuthorityCode(nullptr), "32617");
  const struct {
    const char* line;
    int parts;
    int fixes;
  } want[] = {{"L1", 2, 10 + 8}, {"L2", 1, 6}};
  int k = 0;
  track->ResetReading();
  for (auto& f : *track) {
    SCOPED_TRACE(k);
    EXPECT_STREQ(f->GetFieldAsString("line"), want[k].line);
    EXPECT_EQ(f->GetFieldAsInteger("session"), 0);
    EXPECT_EQ(f->GetFieldAsInteger("fixes"), want[k].fixes);
    const std::string start = f->GetFieldAsString("start_time");  // the text lives only until the next call
    const std::string end = f->GetFieldAsString("end_time");
    EXPECT_LT(start, end);
    EXPECT_EQ(start.substr(0, 10), "2024/05/17");
    const OGRMultiLineString* lines = f->GetGeometryRef()->toMultiLineString();
    ASSERT_EQ(lines->getNumGeometries(), want[k].parts);
    int points = 0;
    for (const OGRLineString* part : *lines) points += part->getNumPoints();
    EXPECT_EQ(points, want[k].fixes);
    ++k;
  }
}

TEST_F(GeoPackageTest, LocalGridHasNoCrs) {
  const std::string survey = root_.dir().file("survey.T38"), gpkg = root_.dir().file("survey.gpkg");
  test::SimSurvey s;
  s.gnss.format = 3;  // local grid in metres
  s.Open(survey);
  s.Run(5001);
  s.Close();
  const std::vector<ExportRow> rows = Export(survey, gpkg);
  EXPECT_EQ(writer_->epsg(), 0);
  Dataset d(gpkg);
  ASSERT_NE(d.ds, nullptr);
  OGRLayer* readings = d.ds->GetLayerByName("readings");
  ASSERT_NE(readings, nullptr);
  // GeoPackage's own "undefined Cartesian" reference, not an EPSG code.
  const OGRSpatialReference* srs = readings->GetSpatialRef();
  if (srs) {
    EXPECT_EQ(srs->GetAuthorityCode(nullptr), nullptr);
  }
  EXPECT_EQ(readings->GetFeatureCount(), static_cast<GIntBig>(rows.size()));
  std::unique_ptr<OGRFeature> f(readings->GetFeature(rows.size()));  // feature ids count from 1
  ASSERT_NE(f, nullptr);
  ASSERT_TRUE(rows.back().positioned);
  EXPECT_NEAR(f->GetGeometryRef()->toPoint()->getX(), rows.back().easting, 1e-9);
}

TEST_F(GeoPackageTest, UnwritablePathIsAnError) {
  GeoPackageWriter w(root_.dir().file("no/such/folder/x.gpkg"));
  w.Begin();
  w.End();
  EXPECT_FALSE(w.ok());
  EXPECT_FALSE(w.error().empty());
}

}  // namespace
}  // namespace obrix
