#include <gtest/gtest.h>

#include <QByteArray>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QXmlStreamReader>
#include <fcntl.h>
#include <sstream>
#include <unistd.h>
#include <vector>

#include "export/sim_survey.h"
#include "export/survey_export.h"
#include "test_support.h"

namespace obrix {
namespace {

class ExportParseTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetDataFile();
    path_ = root_.dir().file("parse.T38");
    test::SimSurvey s;
    s.lateral = 0.3;
    s.along = 1.0;
    s.Open(path_, "<L&1>");
    s.Run(1500, false);  // unpositioned rows first
    s.Run(8000);
    s.Close();
  }
  std::string Export(ExportFormat format) {
    rows_.clear();
    std::ostringstream out;
    auto writer = MakeExportWriter(format, out, "parse & \"test\"");
    writer->Begin();
    const int fd = ::open(path_.c_str(), O_RDONLY);
    ExportSurvey(fd, [&](const ExportRow& r) {
      rows_.push_back(r);
      writer->Row(r);
    });
    ::close(fd);
    writer->End();
    return out.str();
  }
  test::DataRootFixture root_;
  std::string path_;
  std::vector<ExportRow> rows_;
};

TEST_F(ExportParseTest, GeoJsonParsesWithLongitudeFirstAndNullGeometries) {
  const std::string text = Export(ExportFormat::GeoJson);
  QJsonParseError error{};
  const QJsonDocument doc = QJsonDocument::fromJson(QByteArray::fromStdString(text), &error);
  ASSERT_EQ(error.error, QJsonParseError::NoError) << error.errorString().toStdString();
  const QJsonObject root = doc.object();
  EXPECT_EQ(root["type"].toString(), "FeatureCollection");
  EXPECT_EQ(root["name"].toString(), "parse & \"test\"");
  const QJsonArray features = root["features"].toArray();
  ASSERT_EQ(static_cast<size_t>(features.size()), rows_.size());
  int nulls = 0;
  for (qsizetype i = 0; i < features.size(); ++i) {
    const ExportRow& r = rows_[static_cast<size_t>(i)];
    const QJsonObject f = features[i].toObject();
    const QJsonObject p = f["properties"].toObject();
    EXPECT_EQ(f["type"].toString(), "Feature");
    EXPECT_EQ(p["line"].toString(), "<L&1>");
    EXPECT_EQ(p["tick"].toDouble(), r.tick);
    EXPECT_EQ(p["value"].toDouble(), r.value);
    EXPECT_EQ(p["flags"].isNull(), r.flags == 0);
    if (!r.hasGeo) {
      EXPECT_TRUE(f["geometry"].isNull());
      EXPECT_TRUE(p["easting"].isNull());
      ++nulls;
      continue;
    }
    const QJsonArray c = f["geometry"].toObject()["coordinates"].toArray();
    ASSERT_EQ(c.size(), 2);
    EXPECT_NEAR(c[0].toDouble(), r.longitude, 1e-9);
    EXPECT_NEAR(c[1].toDouble(), r.latitude, 1e-9);
    EXPECT_LT(c[0].toDouble(), -79.0);  // west: longitude first
    EXPECT_NEAR(p["easting"].toDouble(), r.easting, 0.0005);
  }
  EXPECT_GT(nulls, 0);
}

TEST_F(ExportParseTest, KmlParsesWithEscapedNamesAndData) {
  const std::string text = Export(ExportFormat::Kml);
  QXmlStreamReader xml(QByteArray::fromStdString(text));
  size_t placemarks = 0, points = 0;
  QString data, name;
  std::vector<QString> names, coordinates, values;
  while (!xml.atEnd()) {
    xml.readNext();
    if (!xml.isStartElement()) continue;
    if (xml.name() == u"Placemark") {
      ++placemarks;
      coordinates.emplace_back();
      values.emplace_back();
    } else if (xml.name() == u"Data") {
      data = xml.attributes().value("name").toString();
    } else if (xml.name() == u"value" && data == "value") {
      values.back() = xml.readElementText();
    } else if (xml.name() == u"name" && placemarks > 0) {
      names.push_back(xml.readElementText());
    } else if (xml.name() == u"coordinates") {
      coordinates.back() = xml.readElementText();
      ++points;
    }
  }
  ASSERT_FALSE(xml.hasError()) << xml.errorString().toStdString();
  ASSERT_EQ(placemarks, rows_.size());
  size_t positioned = 0;
  for (size_t i = 0; i < rows_.size(); ++i) {
    const ExportRow& r = rows_[i];
    EXPECT_TRUE(names[i].startsWith("<L&1> "));
    EXPECT_EQ(values[i].toDouble(), r.value);
    if (!r.hasGeo) {
      EXPECT_TRUE(coordinates[i].isEmpty());
      continue;
    }
    ++positioned;
    const QStringList lonLat = coordinates[i].split(',');
    ASSERT_EQ(lonLat.size(), 2);
    EXPECT_NEAR(lonLat[0].toDouble(), r.longitude, 1e-9);
    EXPECT_NEAR(lonLat[1].toDouble(), r.latitude, 1e-9);
  }
  EXPECT_EQ(points, positioned);
  EXPECT_GT(positioned, 0u);
  EXPECT_LT(positioned, rows_.size());
}

}  // namespace
}  // namespace obrix
