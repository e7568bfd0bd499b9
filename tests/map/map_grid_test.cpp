#include "map/map_grid.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "map_fixture.h"

namespace obrix {
namespace {

constexpr Colour kGrid = Rgb(192, 192, 192);

TEST(MapGridTest, KindSlopeAndSpacing) {
  struct Case {
    int style;
    double interval, angle;
    int kind;
    double slope, spacing;
  } cases[] = {
      {0, 2.0, -20, 0, std::tan(110 * kMapPi / 180), 20.0},
      {1, 2.0, 0, 2, std::tan(90 * kMapPi / 180), 20.0},
      {1, 2.0, 90, 1, 0.0, 20.0},
      {1, 2.0, 30, 1, std::tan(60 * kMapPi / 180), 40.0},
      {1, 2.0, -30, -1, std::tan(120 * kMapPi / 180), 40.0},
  };
  for (const Case& c : cases) {
    const GridParams g = ComputeGrid(c.style, c.interval, c.angle, 300, 30);
    EXPECT_EQ(g.GridKind, c.kind) << c.angle;
    if (c.kind != 2) {
      EXPECT_NEAR(g.LinesSlope, c.slope, 1e-9) << c.angle;
    }
    EXPECT_NEAR(g.GridSpacingPx, c.spacing, 1e-9) << c.angle;
  }
}

// Rows of grid pixels down pane column x (with `across`, only those whose neighbours left and right are grid
// too: the horizontal lines of a basic grid).
std::vector<int> GridRowsInColumn(const Canvas& pane, int x, bool across = false) {
  std::vector<int> rows;
  for (int y = 0; y < pane.height(); ++y) {
    const bool grid = pane.GetPixel(x, y) == kGrid &&
                      (!across || (pane.GetPixel(x - 1, y) == kGrid && pane.GetPixel(x + 1, y) == kGrid));
    if (grid && (rows.empty() || rows.back() != y - 1)) rows.push_back(y);
  }
  return rows;
}
std::vector<int> GridColumnsInRow(const Canvas& pane, int y) {
  std::vector<int> cols;
  for (int x = 0; x < pane.width(); ++x)
    if (pane.GetPixel(x, y) == kGrid && (cols.empty() || cols.back() != x - 1)) cols.push_back(x);
  return cols;
}

// The 2 x 2 block around the origin with the seams at pane (150, 150).
Canvas ShowBlock(const GridParams& g) {
  Grid() = g;
  Canvas pane(300, 300);
  ShowView(pane, MapView{1000, 1000, 150, 150});
  return pane;
}

TEST(MapGridTest, GuideLinesAtZeroDegreesAreNorthSouthOnly) {
  test::MapFixture map;
  const Canvas pane = ShowBlock(ComputeGrid(1, 2.3, 0, 300, 30));  // 23 pixels
  EXPECT_EQ(GridColumnsInRow(pane, 10).size(), GridColumnsInRow(pane, 290).size());
  EXPECT_GE(GridColumnsInRow(pane, 10).size(), 12u);
  const std::vector<int> rows = GridRowsInColumn(pane, 3);  // between two lines
  EXPECT_TRUE(rows.empty());
}

TEST(MapGridTest, GuideLinesAtNinetyDegreesRunEastWestAtTheInterval) {
  test::MapFixture map;
  const Canvas pane = ShowBlock(ComputeGrid(1, 2.3, 90, 300, 30));
  const std::vector<int> rows = GridRowsInColumn(pane, 40);
  ASSERT_GE(rows.size(), 12u);
  for (size_t i = 1; i < rows.size(); ++i) EXPECT_NEAR(rows[i] - rows[i - 1], 23, 1) << i;
  EXPECT_TRUE(GridColumnsInRow(pane, rows[0] + 5).empty());
  // The same rows as the east-west lines of the basic grid, on every page of the block.
  const Canvas basic = ShowBlock(ComputeGrid(0, 2.3, 0, 300, 30));
  EXPECT_EQ(GridRowsInColumn(basic, 40, true), rows);
}

// A guide line through a world pixel lands on the row the track draws that pixel at.
TEST(MapGridTest, GuideLinesUseTheRowRuleOfTheTrack) {
  struct Case {
    double world;  // world Y of a line: a multiple of the 23-pixel spacing
  } cases[] = {{-23}, {-299}, {23}, {276}};
  for (const Case& c : cases) {
    test::MapFixture map;
    Grid() = ComputeGrid(1, 2.3, 90, 300, 30);
    Canvas page;
    page.Resize(300, 300, kWhite);
    const int row = c.world < 0 ? 999 : 1000;
    DrawPageGridLines(page, 1000, row, 300, 300, Grid(), SolidPen(1, kGrid));
    const PagePixel p = PixelToPage(Point{-100, int(c.world)});
    ASSERT_EQ(p.row, row);
    EXPECT_EQ(page.GetPixel(p.x, p.y), kGrid) << c.world;
    EXPECT_NE(page.GetPixel(p.x, p.y + 1), kGrid) << c.world;
  }
}

// Lines keep their spacing across the page seams at pane row and column 150, and slanted lines meet there.
TEST(MapGridTest, LinesContinueAcrossPageEdges) {
  test::MapFixture map;
  struct Case {
    int style;
    double angle;
    double spacing;
  } cases[] = {{0, 0, 7.3}, {1, 60, 7.3 / std::sin(60 * kMapPi / 180)}, {1, -60, 7.3 / std::sin(60 * kMapPi / 180)}};
  for (const Case& c : cases) {
    const GridParams g = ComputeGrid(c.style, 0.73, c.angle, 300, 30);
    const Canvas pane = ShowBlock(g);
    // Rounding the line ends and the line walk each place a pixel within half a pixel of the exact line.
    const double tolerance = c.style == 0 ? 1.01 : 2.01;
    for (int x : {20, 149, 150, 280}) {
      const std::vector<int> rows = GridRowsInColumn(pane, x, c.style == 0);
      ASSERT_GE(rows.size(), 20u) << c.angle;
      for (size_t i = 1; i < rows.size(); ++i)
        EXPECT_NEAR(rows[i] - rows[i - 1], c.spacing, tolerance) << "angle " << c.angle << " column " << x;
    }
    if (c.style == 0) {
      const std::vector<int> cols = GridColumnsInRow(pane, 77);
      for (size_t i = 1; i < cols.size(); ++i) EXPECT_NEAR(cols[i] - cols[i - 1], 7.3, 1.01) << i;
    } else {
      // Either side of the vertical seam a line continues within one row of the slope.
      const std::vector<int> west = GridRowsInColumn(pane, 149), east = GridRowsInColumn(pane, 150);
      for (int r : west) {
        bool joined = false;
        for (int q : east) joined = joined || std::abs(q - (r - (c.angle > 0 ? 1 : -1) * 0.577)) <= 1.5;
        EXPECT_TRUE(joined || r < 3 || r > 296) << "angle " << c.angle << " row " << r;
      }
    }
  }
}

}  // namespace
}  // namespace obrix
