#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <QString>
#include <cmath>
#include <cstdlib>
#include <string>

#include "background/background_list.h"
#include "background/bg_load.h"
#include "background/qt/bg_labels.h"
#include "datafile/data_file.h"
#include "datafile/writers.h"
#include "gps/projection.h"
#include "map/map_fixture.h"
#include "platform/files.h"
#include "platform/numbers.h"
#include "platform/paths.h"
#include "platform/qt/canvas_text.h"

namespace obrix {
namespace {

// A picture of the map pane for inspection: a labelled point file and an earlier survey as backgrounds under a
// live track. Only made when OBRIX_SHOTS names a folder.
TEST(BgMapShot, PointsAndEarlierSurveyUnderTheTrack) {
  const char* dir = std::getenv("OBRIX_SHOTS");
  if (!dir) GTEST_SKIP() << "OBRIX_SHOTS not set";
  ResetBackgrounds();
  ResetDataFile();
  test::MapFixture map;
  InstallBgLabelFont(SystemFont(13, 400));
  int zone = 0;
  const UtmCoordinates start = GeoToUtm(0.0, 3.0, zone, 0);
  const double e0 = start.easting - 5, n0 = start.northing - 2;
  Fix().MapOrigin = {e0, n0};
  Fix().TrackExtent = {e0, e0, n0, n0};

  // The earlier survey: east along the equator, 1.85 m between positions, sensor 0.3 m to the left.
  Config().lateralOffset = 0.3;
  Config().alongOffset = 0.0;
  Config().nmeaFormat = 1;
  const std::string folder = map.root.dir().path() + "bg/";
  MakeFolders(folder);
  const std::string survey = folder + "EARLIER.T38";
  AttachDataFile(OpenExclusive(survey, OpenMode::AppendCreate));
  DataFile().DataFileBaseName = "EARLIER";
  ASSERT_TRUE(WriteHeaderBlock(0));
  ASSERT_TRUE(WriteLineBlock());
  for (int i = 0; i < 10; ++i) {
    const std::string gga =
        FormatC("$GPGGA,120000.00,0000.0000,N,003%07.4f,E,1,08,0.9,10.0,M,0.0,M,,*47", 0.001 * i);
    ASSERT_TRUE(WriteGpsSentence(gga, 1000 + i, '@', '#', '!', ' ', i + 1));
  }
  ResetDataFile();
  Config().lateralOffset = 0.0;

  test::WriteFile(folder + "PEGS.TXT", FormatC("%.2f,%.2f,P1\r\n%.2f,%.2f,P2\r\n%.2f,%.2f,CORNER9\r\n", e0 + 4,
                                               n0 + 12, e0 + 12, n0 + 14, e0 + 16, n0 + 8));
  Settings s;
  s.bgFileType = 2;
  s.bgCoordinatesType = 1;
  s.bgEastingColumn = 0;
  s.bgNorthingColumn = 1;
  s.bgLabelsColumn = 2;
  s.bgDelimiter = 1;
  s.bgPositionsStyle = 4;
  EXPECT_EQ(LoadBackgroundFile(folder + "PEGS.TXT", s).result, 1);
  s.bgFileType = 0;
  s.bgPositionsStyle = 9;
  const BgLoadOutcome o = LoadBackgroundFile(survey, s);
  EXPECT_EQ(o.result, 1) << (o.message ? o.message->title + ": " + o.message->text : "");

  // The live track: north-east across both backgrounds.
  UpdateMapPosition(map.pane, Logging, n0 + 1, e0 + 2, 0.0);
  for (int i = 1; i <= 20; ++i) UpdateMapPosition(map.pane, Logging, n0 + 1 + 0.8 * i, e0 + 2 + i, std::hypot(1, 0.8));

  QDir().mkpath(dir);
  EXPECT_TRUE(CanvasImage(map.pane).save(QString(dir) + "/background-map.png"));
  ResetBackgrounds();
}

}  // namespace
}  // namespace obrix
