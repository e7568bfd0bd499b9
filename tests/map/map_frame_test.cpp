#include "map/map_frame.h"

#include <gtest/gtest.h>

#include "map/map_pages.h"
#include "map_fixture.h"

namespace obrix {
namespace {

TEST(MapFrameTest, PixelToPageAndLocalPixel) {
  struct Case {
    int x, y;
    PagePixel want;
  } cases[] = {
      {0, 0, {1000, 1000, 299, 299}},      // the origin is the bottom-right pixel of the origin page
      {1, 0, {1001, 1000, 0, 299}},
      {0, -1, {1000, 999, 299, 0}},
      {-300, 0, {999, 1000, 299, 299}},
      {-299, 299, {1000, 1000, 0, 0}},     // top-left pixel of the origin page
      {300, 300, {1001, 1001, 299, 299}},
      {-301, -301, {999, 998, 298, 0}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(PixelToPage(c.x, c.y, 300, 300), c.want) << c.x << "," << c.y;
    const Point local = PageLocal(c.x, c.y, c.want.col, c.want.row, 300, 300);
    EXPECT_EQ(local, (Point{c.want.x, c.want.y}));
  }
  // Any page: the neighbour's local pixel lies one page width outside.
  EXPECT_EQ(PageLocal(0, 0, 1001, 1000, 300, 300), (Point{-1, 299}));
}

TEST(MapFrameTest, WorldPixelTruncatesTowardZero) {
  struct Case {
    double fromOrigin;
    int want;
  } cases[] = {{-0.07, 0}, {-0.17, -1}, {0.04, 0}, {0.05, 1}, {-0.05, 0}, {0.26, 3}, {1e30, kWorldPixelLimit}};
  for (const Case& c : cases) EXPECT_EQ(WorldCoordinate(c.fromOrigin, 10.0), c.want) << c.fromOrigin;
}

TEST(MapFrameTest, ResetShrinksUsedPagesAndPagesAreCreatedByDrawing) {
  test::MapFixture map;
  EXPECT_EQ(Frame().UsedPages, (PageRange{1000, 1000, 1000, 1000}));
  EXPECT_DOUBLE_EQ(MapState().PixelsPerUnit, 10.0);
  SelectPageLayer(1003, 998, MapLayer::Track).Line({0, 0}, {10, 10}, SolidPen(1, kBlack));
  EXPECT_EQ(Frame().UsedPages, (PageRange{1000, 1003, 998, 1000}));
  // Outside the table nothing is created or widened.
  SelectPageLayer(2000, -1, MapLayer::Track).Line({0, 0}, {10, 10}, SolidPen(1, kBlack));
  EXPECT_EQ(Frame().UsedPages, (PageRange{1000, 1003, 998, 1000}));
  EXPECT_EQ(MapPages().PageCount(), 1u);
}

TEST(MapFrameTest, ComposedPageIsBaseThenTrackCombinedByAnd) {
  test::MapFixture map;
  const Colour blue = Rgb(0, 0, 255), yellow = Rgb(255, 255, 0);
  SelectPageLayer(1000, 1000, MapLayer::Base).Line({0, 5}, {20, 5}, SolidPen(1, blue));
  SelectPageLayer(1000, 1000, MapLayer::Track).Line({10, 0}, {10, 20}, SolidPen(1, yellow));
  Canvas pane(300, 300);
  ComposePage(pane, 0, 0, 1000, 1000);
  EXPECT_EQ(pane.GetPixel(3, 5), blue);                 // base only
  EXPECT_EQ(pane.GetPixel(10, 3), yellow);              // track over white
  EXPECT_EQ(pane.GetPixel(10, 5), Rgb(0, 0, 0));        // blue AND yellow
  EXPECT_EQ(pane.GetPixel(50, 50), kWhite);
  // Rebuilding mode 1 clears the track, mode 0 the base drawings.
  RebuildPages(1);
  ComposePage(pane, 0, 0, 1000, 1000);
  EXPECT_EQ(pane.GetPixel(10, 3), kWhite);
  EXPECT_EQ(pane.GetPixel(3, 5), blue);
  RebuildPages(0);
  ComposePage(pane, 0, 0, 1000, 1000);
  EXPECT_EQ(pane.GetPixel(3, 5), kWhite);
}

TEST(MapFrameTest, ShowViewPlacesTheFourPagesOfTheBlock) {
  test::MapFixture map;
  const Colour c[4] = {Rgb(255, 0, 0), Rgb(0, 255, 0), Rgb(0, 0, 255), Rgb(255, 0, 255)};
  const int pages[4][2] = {{1000, 1000}, {1001, 1000}, {1000, 999}, {1001, 999}};
  for (int i = 0; i < 4; ++i) {
    SelectPageLayer(pages[i][0], pages[i][1], MapLayer::Track)
        .Paint({0, 0, 300, 300}, {c[i]}, [&](Canvas& dc, Point) { dc.Clear(c[i]); });
  }
  Canvas pane(300, 300);
  ShowView(pane, MapView{1000, 1000, 100, 200});
  // Around pane (200, 100): page-local (298, 298) of the top-left page, (1, 298) of its east neighbour...
  // (the grid lines through the origin run along the seams).
  EXPECT_EQ(pane.GetPixel(198, 98), c[0]);
  EXPECT_EQ(pane.GetPixel(201, 98), c[1]);
  EXPECT_EQ(pane.GetPixel(198, 101), c[2]);
  EXPECT_EQ(pane.GetPixel(201, 101), c[3]);
  EXPECT_EQ(pane.GetPixel(199, 50), Rgb(192, 0, 0));  // the grid line at X = 0 combined with the track
  EXPECT_EQ(Frame().UsedPages, (PageRange{1000, 1001, 999, 1000}));
}

}  // namespace
}  // namespace obrix
