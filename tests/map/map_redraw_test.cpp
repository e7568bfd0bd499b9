#include "map/map_redraw.h"

#include <gtest/gtest.h>

#include <iterator>
#include <map>
#include <set>
#include <tuple>
#include <string>

#include "datafile/writers.h"
#include "em38/em38_record.h"
#include "map_fixture.h"
#include "state/colour_scale.h"

namespace obrix {
namespace {

using test::kOriginE;
using test::kOriginN;

// An EM38 record: conductivity (vertical) or inphase (vertical), range 100, value = -counts / 10 for conductivity.
std::string Em38(int counts, bool conductivity = true) {
  char text[16];
  std::snprintf(text, sizeof text, "T%c%05d", conductivity ? '$' : ' ', counts);
  return text;
}

// One interval of the survey: the swath start, the readings, then the edges at two fixes 10 units apart
// going east (swath 2 units wide).
void WriteInterval(const std::vector<std::string>& readings) {
  WriteSwathRecord('{', 0, 0, 0, 0, 0);
  for (const std::string& r : readings) WriteReadingRecord(r, 1000);
  WriteSwathRecord('{', 1, kOriginE, kOriginN + 1, kOriginE, kOriginN - 1);
  WriteSwathRecord('{', 2, kOriginE + 10, kOriginN + 1, kOriginE + 10, kOriginN - 1);
}

// Which readings' colours show along the middle of the swath, in order of first appearance.
std::vector<int> ShownIndexes() {
  std::vector<int> shown;
  for (int x = 0; x <= 100; ++x) {
    const Colour c = test::MapFixture::TrackAt({x, 0});
    for (int i = 0; i < 50; ++i)
      if (c == ColourTable[i] && (shown.empty() || shown.back() != i)) shown.push_back(i);
  }
  return shown;
}

TEST(MapRedrawTest, ColourViewSpreadsEveryReadingOfTheInterval) {
  test::MapFixture map;
  Config().mapColourView = 1;
  Config().condScaleMin = 0;
  Config().condScaleMax = 500;  // 10 mS/m per colour
  map.OpenFile();
  WriteEventRecord("$STARTED", 'X');
  std::vector<std::string> readings;
  for (int i = 0; i < 10; ++i) readings.push_back(Em38(-500 * i));  // 50 i mS/m: colour 5 i
  readings[4] = Em38(-2000, false);                                 // inphase: white
  readings[9] = Em38(-9999);                                        // beyond the scale: 49
  WriteInterval(readings);
  RedrawMapFromData();
  EXPECT_EQ(ShownIndexes(), (std::vector<int>{0, 5, 10, 15, 25, 30, 35, 40, 49}));
  EXPECT_EQ(Bins().BinsReady, 0);
}

// Every inked pixel of the track layers of the used pages, as (col, row, x, y) -> palette index.
std::map<std::tuple<int, int, int, int>, uint8_t> TrackInk() {
  std::map<std::tuple<int, int, int, int>, uint8_t> ink;
  const PageRange& used = Frame().UsedPages;
  for (int col = used.colMin; col <= used.colMax; ++col)
    for (int row = used.rowMin; row <= used.rowMax; ++row)
      for (int y = 0; y < PageHeight(); ++y)
        for (int x = 0; x < PageWidth(); ++x)
          if (const uint8_t i = MapPages().At(col, row, MapLayer::Track, x, y)) ink[{col, row, x, y}] = i;
  return ink;
}

TEST(MapRedrawTest, RedrawnTrackEqualsTheLiveOneWithEmptyIntervals) {
  // Fixes 4 units apart going east, north-east and north; each interval holds one reading or none (the
  // instrument link down), as with a reading interval longer than the fix interval.
  const int readings[] = {1, 0, 1, 1, 0, 0, 1, 0, 1, 1, 0, 1};
  for (const int colourView : {1, 0}) {
    SCOPED_TRACE(colourView);
    test::MapFixture map;
    Config().mapColourView = colourView;
    Config().positionSize = 2;
    Config().condScaleMin = 0;
    Config().condScaleMax = 500;
    map.OpenFile();
    WriteEventRecord("$STARTED", 'X');
    map.First();
    ResetBinsForRecording();
    AdvanceBinsAtFix(Logging);
    map.Move(4, 0);
    for (int i = 0; i < int(std::size(readings)); ++i) {
      for (int k = 0; k < readings[i]; ++k) {
        const std::string record = Em38(-400 * i - 100);
        const Em38Reading reading = ParseEm38Record(record);
        BinReading(reading.channel == Sess().SelectedChannel ? ColourIndexOf(reading.value) : kOtherChannelColour);
        WriteReadingRecord(record, 1000);
      }
      if (colourView) AdvanceBinsAtFix(Logging);
      map.Move(i < 4 ? 4 : i < 8 ? 3 : 0, i < 4 ? 0 : 4);
    }
    const auto live = TrackInk();
    ASSERT_GT(live.size(), 300u);
    RebuildPages(1);
    RedrawMapFromData();
    const auto redrawn = TrackInk();
    EXPECT_EQ(redrawn.size(), live.size());
    EXPECT_TRUE(redrawn == live) << "the redrawn track differs from the live one";
  }
}

TEST(MapRedrawTest, DrawingStartsAfterTheStartEventWithinThreeHundredRecords) {
  struct Case {
    int fillersBefore;
    bool startEvent;
    bool drawn;
  } cases[] = {{0, true, true}, {0, false, false}, {290, false, false}, {300, false, true}, {250, true, true}};
  for (const Case& c : cases) {
    test::MapFixture map;
    Config().mapColourView = 0;
    Config().positionSize = 4;
    map.OpenFile();
    for (int i = 0; i < c.fillersBefore; ++i) WriteEventRecord("note", 'C');
    if (c.startEvent) WriteEventRecord("$STARTED", 'X');
    WriteInterval({Em38(-100)});
    RedrawMapFromData();
    EXPECT_EQ(test::MapFixture::TrackAt({100, 0}) == Pens().PositionPen.colour, c.drawn)
        << c.fillersBefore << (c.startEvent ? " with start" : "");
  }
}

TEST(MapRedrawTest, StoredTrackMustFitThePageLimits) {
  struct Case {
    double northReach;  // map units north of the origin reached by the stored edges
    int fits;
    std::string text;
  } cases[] = {
      {100, 1, "Total Number of GPS Positions:       2\r\n"},
      {996.9 * 30, 1, "Total Number of GPS Positions:       2\r\n"},   // row 1996
      {997.0 * 30, 0, "Map Size too small to accommodate the data file.\r\n"
                      "Please increase map size in Map Size option\r\nthen select the file again"},  // row 1997
  };
  for (const Case& c : cases) {
    test::MapFixture map;
    map.OpenFile();
    WriteSwathRecord('{', 0, 0, 0, 0, 0);
    WriteSwathRecord('{', 1, kOriginE - 1, kOriginN, kOriginE + 1, kOriginN);
    WriteSwathRecord('{', 2, kOriginE - 1, kOriginN + c.northReach, kOriginE + 1, kOriginN + c.northReach);
    const StoredTrackCheck check = CheckStoredTrackFits();
    EXPECT_EQ(check.fits, c.fits) << c.northReach;
    EXPECT_EQ(check.message.text, c.text);
    EXPECT_EQ(check.positions, 2);
    EXPECT_DOUBLE_EQ(Fix().TrackExtent.maxNorthing, kOriginN + c.northReach);
    EXPECT_EQ(Fix().GpsPositionCount, c.fits ? 2 : 0);
  }
}

}  // namespace
}  // namespace obrix
