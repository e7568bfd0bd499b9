#include "map/map_track.h"

#include <gtest/gtest.h>

#include <set>

#include "map_fixture.h"

namespace obrix {
namespace {

using test::kOriginE;
using test::kOriginN;
using test::kSide;
using Records = std::vector<std::pair<char, double>>;

TEST(MapTrackTest, FirstFixSitsAtThePaneCentreWithoutSwath) {
  test::MapFixture map;
  map.OpenFile();
  map.First();
  const MapFrame& f = Frame();
  EXPECT_EQ(f.MapInitialised, 1);
  EXPECT_EQ(f.CursorPos, (Point{149, 149}));
  EXPECT_EQ(f.LiveView, (MapView{1000, 1000, 150, 150}));
  EXPECT_EQ(f.UsedPages, (PageRange{1000, 1001, 999, 1000}));
  EXPECT_EQ(map.pane.GetPixel(149 + 4, 149), Pens().CursorPen.colour);  // the cursor arm
  EXPECT_TRUE(map.SwathRecords().empty());
  EXPECT_EQ(MapPages().TileCount(), 0u);
}

// Three logged fixes 1 unit apart going north, swath width 2, no offsets.
TEST(MapTrackTest, DirectMethodRecordsTheEdgesOfEachStep) {
  struct Case {
    double along;  // metres
    double ahead;  // where the edges lie relative to their fixes along the travel
  } cases[] = {{0.0, 0.0}, {-0.5, 0.5}};
  for (const Case& c : cases) {
    test::MapFixture map;
    Drv().AlongOffsetInUse = c.along;
    ChooseSwathMethod();
    map.OpenFile();
    map.First();
    map.Move(0, 1);  // '{0'
    map.Move(0, 1);  // sets 1 and 2
    map.Move(0, 1);  // set 2
    const double e = kOriginE, n1 = kOriginN + 1 + c.ahead, n2 = n1 + 1, n3 = n2 + 1;
    const Records want = {{'0', 0},      {'a', e - 1}, {'b', n1}, {'c', e + 1}, {'d', n1}, {'e', e - 1},
                          {'f', n2},     {'g', e + 1}, {'h', n2}, {'e', e - 1}, {'f', n3}, {'g', e + 1},
                          {'h', n3}};
    EXPECT_EQ(map.SwathRecords(), want) << "along " << c.along;
    // Bars across the track at each edge (position size 4).
    EXPECT_EQ(test::MapFixture::TrackAt(WorldPixel(e, n2)), Pens().PositionPen.colour);
    EXPECT_EQ(test::MapFixture::TrackAt(WorldPixel(e + 0.5, n2)), Pens().PositionPen.colour);
  }
}

TEST(MapTrackTest, NoSwathWhileStandingOrNotLogging) {
  test::MapFixture map;
  map.OpenFile();
  map.First();
  map.Move(0, 1, StandBy);
  map.Move(0, 0);
  EXPECT_TRUE(map.SwathRecords().empty());
}

// The sensor 5 units behind the antenna along the recorded track.
TEST(MapTrackTest, TrackHistoryExtendsBackwardsThenFollowsTheTrack) {
  test::MapFixture map;
  Drv().AlongOffsetInUse = 5.0;
  ChooseSwathMethod();
  ASSERT_EQ(Swath().SwathMethod, 1);
  map.OpenFile();
  map.First();
  map.Move(0, 1);  // entry 0 at N0 + 1
  std::vector<double> northings;  // of the set-2 edges
  for (int i = 0; i < 8; ++i) {
    map.Move(0, 1);
    const Records r = map.SwathRecords();
    northings.push_back(r.back().second);
  }
  // After 3 units of travel: 2 units behind the first point; after 8: on the track, 5 behind the fix.
  EXPECT_NEAR(northings[2], kOriginN + 1 - 2, 1e-3);
  EXPECT_NEAR(northings[7], kOriginN + 9 - 5, 1e-3);
  // Turning east: the sensor is still on the northward leg, and its edge lies across that leg.
  for (int i = 0; i < 3; ++i) map.Move(1, 0);
  const Records r = map.SwathRecords();
  ASSERT_GE(r.size(), 4u);
  const Records last(r.end() - 4, r.end());
  const Records want = {{'e', kOriginE - 1}, {'f', kOriginN + 7}, {'g', kOriginE + 1}, {'h', kOriginN + 7}};
  EXPECT_EQ(last, want);
}

TEST(MapTrackTest, TrackHistoryKeepsTheNewestThirtyWhenFull) {
  test::MapFixture map;
  Drv().AlongOffsetInUse = 1000.0;  // always beyond the recorded track
  ChooseSwathMethod();
  map.First();
  for (int i = 1; i <= 40; ++i) map.Move(0, 1);
  EXPECT_EQ(Swath().HistoryCount, 40);
  map.Move(0, 1);  // the 41st entry
  const SwathTrack& s = Swath();
  ASSERT_EQ(s.HistoryCount, 30);
  EXPECT_DOUBLE_EQ(s.TrackHistory[0].n, kOriginN + 12);
  EXPECT_DOUBLE_EQ(s.TrackHistory[0].cum, 0.0);
  EXPECT_DOUBLE_EQ(s.TrackLength, 29.0);
  EXPECT_DOUBLE_EQ(s.TrackHistory[29].n, kOriginN + 41);
}

TEST(MapTrackTest, ColourSwathSpreadsTheIntervalsReadings) {
  struct Case {
    int readings;
    int lastBinCount;  // live: readings - 1; redraw: readings
    int firstShown, lastShown;
  } cases[] = {{10, 9, 0, 8}, {10, 10, 0, 9}, {1, 0, 0, 0}};
  for (const Case& c : cases) {
    test::MapFixture map;
    int bins[kReadingBinSize] = {};
    for (int i = 0; i < c.readings; ++i) bins[i] = 5 * i;
    // A quadrilateral 100 pixels long, 20 wide, going east.
    const EdgePx previous{{10, 20}, {10, 0}}, current{{110, 20}, {110, 0}};
    FillColourSwath(current, previous, bins, c.lastBinCount, true);
    std::set<int> shown;
    for (int x = 8; x < 115; ++x) {
      const Colour colour = test::MapFixture::TrackAt({x, 10});
      for (int i = 0; i < c.readings; ++i)
        if (colour == ColourTable[bins[i]]) shown.insert(i);
    }
    ASSERT_FALSE(shown.empty());
    EXPECT_EQ(*shown.begin(), c.firstShown) << c.lastBinCount;
    EXPECT_EQ(*shown.rbegin(), c.lastShown) << c.lastBinCount;
    EXPECT_EQ(int(shown.size()), c.lastShown - c.firstShown + 1);
  }
  test::MapFixture map;
  int bins[kReadingBinSize] = {7};
  FillColourSwath({{110, 20}, {110, 0}}, {{10, 20}, {10, 0}}, bins, 0, false);  // bins not ready
  EXPECT_EQ(MapPages().TileCount(), 0u);
  // A jump of 17 pages is not ground covered: nothing is filled; 15 pages is.
  const int far = 17 * PageWidth();
  FillColourSwath({{10 + far, 20}, {10 + far, 0}}, {{10, 20}, {10, 0}}, bins, 1, true);
  EXPECT_EQ(MapPages().TileCount(), 0u);
  const int near = 15 * PageWidth();
  FillColourSwath({{10 + near, 20}, {10 + near, 0}}, {{10, 20}, {10, 0}}, bins, 1, true);
  EXPECT_GT(MapPages().TileCount(), 0u);
}

TEST(MapTrackTest, ViewFollowsAFixThatEntersTheCursorBand) {
  test::MapFixture map;
  Drv().CursorBandPx = 45;
  map.First();
  const Point cursor = Frame().CursorPos;
  map.Move(0.5, 0.5);  // 5 pixels: still well inside
  EXPECT_EQ(Frame().CursorPos, (Point{cursor.x + 5, cursor.y - 5}));
  map.Move(10, 3);  // X = 105 is the band's inner edge: not yet in it
  EXPECT_EQ(Frame().CursorPos, (Point{cursor.x + 105, cursor.y - 35}));
  map.Move(1, 0);  // into the band: the view moves by the whole step from the last fix, in both axes
  const MapFrame& f = Frame();
  EXPECT_EQ(f.CursorPos, (Point{cursor.x + 105, cursor.y - 35}));
  EXPECT_EQ(f.ViewBounds, (ViewRect{-149 + 10, 150 + 10, -149, 150}));
  EXPECT_EQ(f.LiveView, (MapView{1000, 1000, 160, 150}));
  // Far east: the view follows the whole move and the block moves on to hold the fix.
  map.Move(20, 3);
  EXPECT_EQ(Frame().CursorPos, (Point{cursor.x + 105, cursor.y - 35}));
  EXPECT_EQ(Frame().LiveView, (MapView{1001, 1000, 160 + 200 - 300, 150 - 30}));
  EXPECT_EQ(Frame().UsedPages, (PageRange{1000, 1002, 999, 1000}));
}

TEST(MapTrackTest, DotOfRadiusThreeNearAPageEdgeIsDrawnInBothPages) {
  test::MapFixture map;
  // World X = 3 is local x = 2 of page 1001; page 1000 ends at X = 0.
  DrawDotAcrossPages(3, 100, 3, SolidPen(1, kBlack), SolidBrush(kBlack));
  const PagePixel p = PixelToPage(3, 100, kSide, kSide);
  ASSERT_EQ(p.col, 1001);
  ASSERT_EQ(p.x, 2);
  // The box (x - 4, x + 4) covers world X -1..6 on the centre row, across the edge at X = 0 / 1.
  for (int x = -1; x <= 6; ++x) EXPECT_EQ(test::MapFixture::TrackAt({x, 100}), kBlack) << x;
  EXPECT_EQ(MapPages().At(1000, 1000, MapLayer::Track, kSide - 2, p.y), MapColours().IndexOf(kBlack));
  EXPECT_EQ(test::MapFixture::TrackAt({-2, 100}), kWhite);
  EXPECT_EQ(test::MapFixture::TrackAt({7, 100}), kWhite);
  EXPECT_EQ(Frame().UsedPages, (PageRange{1000, 1001, 1000, 1000}));
}

TEST(MapTrackTest, SegmentAcrossADiagonalCornerUsesOneCornerPage) {
  const auto inked = [](int col, int row) {
    for (int y = 0; y < kSide; ++y)
      for (int x = 0; x < kSide; ++x)
        if (MapPages().At(col, row, MapLayer::Track, x, y) != 0) return true;
    return false;
  };
  const auto inkedInColumn = [](int x, int y0, int y1) {
    for (int y = y0; y <= y1; ++y)
      if (test::MapFixture::TrackAt({x, y}) == kBlack) return true;
    return false;
  };
  struct Case {
    Point a, b;
    int cornerCol, cornerRow;  // the one corner page drawn
    Point through;             // a world pixel of the segment in the corner page
  } cases[] = {
      {{-20, 295}, {10, 320}, 1000, 1001, {-11, 0}},  // leaves page (1000, 1000) through its top first
      {{-5, 290}, {20, 320}, 1001, 1000, {1, 0}},     // reaches column 1001 first
  };
  for (const Case& c : cases) {
    test::MapFixture map;
    DrawSegmentAcrossPages(c.a, c.b, SolidPen(1, kBlack));
    EXPECT_EQ(test::MapFixture::TrackAt(c.a), kBlack);
    EXPECT_EQ(Frame().UsedPages, (PageRange{1000, 1001, 1000, 1001}));
    EXPECT_TRUE(inked(c.cornerCol, c.cornerRow));
    const int otherCol = c.cornerCol == 1000 ? 1001 : 1000, otherRow = c.cornerRow == 1000 ? 1001 : 1000;
    EXPECT_FALSE(inked(otherCol, otherRow));
    EXPECT_TRUE(inkedInColumn(c.through.x, 290, 305)) << c.through.x;
  }
}

TEST(MapTrackTest, OverflowIsReportedOnceWhenTheTrackLeavesTheMap) {
  test::MapFixture map;
  int notified = 0;
  MapScreenHooks().MapLimitReached = [&] { ++notified; };
  map.First();
  map.Move(0, 10);
  EXPECT_EQ(notified, 0);
  // 998 pages west (page column 2) is beyond the limit; far beyond the table nothing is indexed.
  map.Move(-998 * 30.0 - 1, 0);
  EXPECT_EQ(Sess().MapOverflowState, MapOverflow::AtPageEdge);
  map.Move(-1e7, 0);
  map.Move(2e7, -3e7);
  EXPECT_EQ(notified, 1);
}

}  // namespace
}  // namespace obrix

namespace obrix {
namespace {

// The pane after each fix of a walk: brought up to date tile by tile, and composed afresh at every fix (the
// composition cache forgotten by composing a page elsewhere first). Both must show the same pixels, with the
// view standing and following, marks and bars, over grid lines, standing still and paused.
std::vector<Canvas> PanesOfAWalk(int positionSize, bool composeAfresh) {
  test::MapFixture map;
  Config().gridInterval = 4;
  Config().positionSize = positionSize;
  UpdateGridSpacing();
  Drv().CursorBandPx = 45;
  const struct {
    double dE, dN;
    int logging;
  } moves[] = {{0.4, 0.3, Logging}, {0.5, 0.5, Logging}, {0, 0, Logging},   {3, 1, Logging},   {8, 2, Logging},
               {1, 0.2, Logging},   {2, 0.5, Logging},   {1, 1, StandBy},   {2, -0.5, Logging}, {-1, 3, Logging},
               {-6, 9, Logging},    {-0.5, 4, Logging},  {0.2, 0.2, Logging}, {25, 1, Logging}, {0.5, 0.1, Logging}};
  std::vector<Canvas> shown;
  Canvas elsewhere(10, 10);
  map.First();
  shown.push_back(map.pane);
  for (const auto& m : moves) {
    if (composeAfresh) ComposePage(elsewhere, 0, 0, kOriginPage, kOriginPage);
    map.Move(m.dE, m.dN, m.logging);
    shown.push_back(map.pane);
  }
  return shown;
}

TEST(MapTrackTest, PaneBroughtUpToDateShowsWhatAFreshCompositionShows) {
  for (int positionSize : {1, 4}) {
    SCOPED_TRACE(positionSize);
    const std::vector<Canvas> live = PanesOfAWalk(positionSize, false);
    const std::vector<Canvas> fresh = PanesOfAWalk(positionSize, true);
    ASSERT_EQ(live.size(), fresh.size());
    for (std::size_t i = 0; i < live.size(); ++i) {
      const Canvas& a = live[i];
      const Canvas& b = fresh[i];
      ASSERT_EQ(a.width(), b.width());
      for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
          ASSERT_EQ(a.GetPixel(x, y), b.GetPixel(x, y)) << "fix " << i << " pixel " << x << ", " << y;
    }
    // The walk drew something and the view moved on.
    EXPECT_NE(Frame().LiveView, (MapView{}));
  }
}

}  // namespace
}  // namespace obrix
