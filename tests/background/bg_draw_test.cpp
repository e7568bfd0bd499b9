#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "background/bg_draw.h"
#include "map/map_fixture.h"

namespace obrix {
namespace {

// Pages of 300 pixels: world pixel (0, 0) is the bottom-right pixel of page (1000, 1000); x = 1 lies in the
// east page, y = -1 in the south page.
class BgDrawTest : public ::testing::Test {
 protected:
  void TearDown() override { BgLabels() = {}; }
  static Colour BaseAt(Point world) {
    const PagePixel p = PixelToPage(world);
    return MapColours().ColourAt(MapPages().At(p.col, p.row, MapLayer::Base, p.x, p.y));
  }
  test::MapFixture map_;
};

TEST_F(BgDrawTest, SymbolsJoinAcrossPageEdgesAndCorners) {
  for (int style : {0, 1, 2, 3, 4, 5, 6, 7, 8}) {
    for (Point at : {Point{0, 0}, Point{-150, 150}}) {
      ResetPages();
      DrawBgSymbol(at, style, "");
      const int h = BgStyleOf(style).half;
      // The small circle's 4 x 4 box leaves its corners blank; every other symbol reaches the diagonal page.
      std::vector<Point> inked = {{0, 0}, {1, 0}, {0, -1}, {-1, 0}, {0, 1}};
      if (style != 0) inked.push_back({1, -1});
      for (Point d : inked)
        EXPECT_EQ(BaseAt({at.x + d.x, at.y + d.y}), kBgColour) << "style " << style << " at " << at.x << " d "
                                                               << d.x << "," << d.y;
      EXPECT_EQ(BaseAt({at.x + h + 2, at.y}), kWhite) << style;
      EXPECT_EQ(BaseAt({at.x, at.y - h - 2}), kWhite) << style;
      const PageRange used = Frame().UsedPages;
      if (at.x == 0) {
        EXPECT_EQ(used.colMax, 1001) << style;
        EXPECT_EQ(used.rowMin, 999) << style;
      } else {
        EXPECT_EQ(used, PageRange{}) << "a symbol inside one page touches no other, style " << style;
      }
    }
  }
}

TEST_F(BgDrawTest, SegmentsReachEveryPageTheyPass) {
  struct Case {
    Point a, b;
    Point step;  // the drawn pixels are a + k * step
    int steps;
  } cases[] = {
      {{-650, 5}, {650, 5}, {1, 0}, 1300},
      {{650, 5}, {-650, 5}, {-1, 0}, 1300},          // drawn from the western end all the same
      {{-400, -400}, {400, 400}, {1, 1}, 800},      // through the corner of four pages
      {{20, 700}, {20, -700}, {0, -1}, 1400},
  };
  for (const Case& c : cases) {
    ResetPages();
    DrawBgSegment(c.a, c.b, BgPen(1));
    int missing = 0;
    for (int k = 0; k < c.steps; ++k)
      if (BaseAt({c.a.x + k * c.step.x, c.a.y + k * c.step.y}) != kBgColour) ++missing;
    // The western end is the first point of the line and the eastern one its excluded last point.
    EXPECT_LE(missing, 1) << c.a.x << "," << c.a.y;
  }
  ResetPages();
  DrawBgSegment({-650, 5}, {650, 5}, BgPen(1));
  EXPECT_EQ(Frame().UsedPages.rowMin, 1000);
  EXPECT_EQ(Frame().UsedPages.rowMax, 1000);
  EXPECT_EQ(Frame().UsedPages.colMin, 998);
  EXPECT_EQ(Frame().UsedPages.colMax, 1003);
}

TEST_F(BgDrawTest, VertexAndLabelRepeatedInTheNeighbourPage) {
  BgLabels().measure = [](std::string_view) { return Point{10, 6}; };
  BgLabels().draw = [](Canvas& dc, Point at, std::string_view) { dc.FillRect(Rect{at.x, at.y, at.x + 10, at.y + 6}, kBgColour); };
  ResetPages();
  // Local x 294: the label from x + 1 runs 10 pixels into the east page.
  DrawBgSymbol({-5, 100}, 0, "AB");
  for (int x = -4; x <= 5; ++x) {
    EXPECT_EQ(BaseAt({x, 100}), kBgColour) << x;
    EXPECT_EQ(BaseAt({x, 95}), kBgColour) << x;
  }
  EXPECT_EQ(BaseAt({6, 100}), kWhite);
  EXPECT_EQ(BaseAt({2, 94}), kWhite);

  ResetPages();
  DrawBgVertex({0, 50}, BgPen(2));
  for (Point d : {Point{0, 0}, Point{1, 0}, Point{-1, 0}, Point{0, 1}, Point{0, -1}})
    EXPECT_EQ(BaseAt({d.x, 50 + d.y}), kBgColour) << d.x << "," << d.y;
  EXPECT_EQ(BaseAt({3, 50}), kWhite);
}

}  // namespace
}  // namespace obrix
