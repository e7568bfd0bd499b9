#include "map/map_navigation.h"

#include <gtest/gtest.h>

#include "map_fixture.h"

namespace obrix {
namespace {

TEST(MapNavigationTest, ZoomSteps) {
  struct Case {
    int from;
    bool in;
    int want;
  } cases[] = {{10, true, 9}, {40, true, 38}, {1, true, 1}, {2, true, 1},
               {1, false, 2}, {10, false, 11}, {40, false, 42}};
  for (const Case& c : cases) EXPECT_EQ(ZoomedMapSize(c.from, c.in), c.want) << c.from << (c.in ? " in" : " out");
}

TEST(MapNavigationTest, PanStepAndFitAllSize) {
  EXPECT_EQ(PanStep(75), 7);
  EXPECT_EQ(PanStep(0), 0);
  EXPECT_EQ(FitAllMapSize(100, 1), 120);  // trunc(100.5 * 1.10 + 10)
  EXPECT_EQ(FitAllMapSize(0, 6), 10);
}

TEST(MapNavigationTest, FitAllViewCentresTheExtentFromTheOriginPage) {
  test::MapFixture map;
  Config().mapSize = 120;
  UpdatePixelsPerUnit();  // 2.5 pixels per unit
  const TrackExtentBox x{test::kOriginE - 20, test::kOriginE + 80, test::kOriginN - 10, test::kOriginN + 50};
  const MapView v = FitAllView(x, 300, 300);
  // X1 = trunc(-49.5) = -49, X2 = 200: margin 25; Y1 = -24, Y2 = 125: margin 75.
  EXPECT_EQ(v, (MapView{1000, 1000, 300 - 49 - 25, 300 - (75 + 125)}));
}

TEST(MapNavigationTest, PanMovesByOneStepAndStopsAtTheUsedPages) {
  test::MapFixture map;
  map.First();  // used pages 1000..1001 x 999..1000, live view (1000, 1000, 150, 150)
  Drv().CursorBandPx = 75;
  const MapView before = Frame().LiveView;
  const ViewRect bounds = Frame().ViewBounds;
  MapNavigate(map.pane, kMapPanEast);  // pageCol + 2 > colMax: refused
  EXPECT_EQ(Frame().LiveView, before);
  EXPECT_EQ(Frame().ViewBounds, bounds);

  MapView v{1000, 1000, 296, 10};
  ASSERT_TRUE(PanView(v, kMapPanEast, 7, PageRange{999, 1002, 998, 1001}, 300, 300));
  EXPECT_EQ(v, (MapView{1001, 1000, 3, 10}));  // crosses the page edge: the next page is top-left
  ASSERT_TRUE(PanView(v, kMapPanNorth, 7, PageRange{999, 1002, 998, 1001}, 300, 300));
  EXPECT_EQ(v, (MapView{1001, 1000, 3, 3}));
  ASSERT_TRUE(PanView(v, kMapPanNorth, 7, PageRange{999, 1002, 998, 1001}, 300, 300));
  EXPECT_EQ(v, (MapView{1001, 1001, 3, 296}));
  EXPECT_FALSE(PanView(v, kMapPanNorth, 7, PageRange{999, 1002, 998, 1001}, 300, 300));

  // Panning the live view west moves its bounds and the last fix with it.
  WidenUsedPages(999, 999);
  MapNavigate(map.pane, kMapPanWest);
  EXPECT_EQ(Frame().LiveView, (MapView{1000, 1000, 143, 150}));
  EXPECT_EQ(Frame().ViewBounds.minX, bounds.minX - 7);
  EXPECT_EQ(Frame().LastFixPx.x, -7);
}

TEST(MapNavigationTest, MapSizeThatNeedsPageBeyondTheLimitIsRefused) {
  test::MapFixture map;
  map.First();
  // Track 9000 units north: at map size 30 that is page row 1300; at map size 9 (33.3 px/unit) row 2000.
  Fix().TrackExtent.maxNorthing = test::kOriginN + 9000;
  MapViewState& m = MapState();
  m.SavedMapSize = 30;
  m.SavedPixelsPerUnit = 10;
  m.SavedGridInterval = Config().gridInterval;
  m.SavedCursorBandIndex = 1;
  m.SavedCursorBandPx = 45;
  Config().mapSize = 9;
  UpdatePixelsPerUnit();
  m.RedrawFlags = kRedrawMapSize;
  Sess().MapOverflowState = MapOverflow::Warned;
  const std::vector<MapMessage> messages = ApplyMapSizeChange(map.pane);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].title, "WARNING");
  EXPECT_EQ(messages[0].text, "Map Size too small\r\nPlease select Map Size option\r\nand increase the map size");
  EXPECT_EQ(Config().mapSize, 30);
  EXPECT_DOUBLE_EQ(MapState().PixelsPerUnit, 10.0);
  EXPECT_EQ(Sess().MapOverflowState, MapOverflow::Warned);
  EXPECT_LE(Frame().UsedPages.rowMax, kPageLimitHigh);  // widened at the size in force, not the refused one
  EXPECT_EQ(Frame().RecentreAtNextFix, 1);

  // A size that fits clears the overflow state; a small grid interval is raised with a note.
  Config().mapSize = 40;
  Config().gridInterval = 0.2;
  UpdatePixelsPerUnit();
  const std::vector<MapMessage> ok = ApplyMapSizeChange(map.pane);
  ASSERT_EQ(ok.size(), 1u);
  EXPECT_EQ(ok[0].text, "Grid Interval must be >= 0.5 of map unit. Program assumed minimum value.");
  EXPECT_EQ(Sess().MapOverflowState, MapOverflow::None);
  EXPECT_DOUBLE_EQ(Config().gridInterval, 0.5);
}

}  // namespace
}  // namespace obrix
