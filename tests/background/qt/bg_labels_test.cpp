#include <gtest/gtest.h>

#include "background/bg_draw.h"
#include "background/qt/bg_labels.h"
#include "map/map_fixture.h"
#include "platform/qt/canvas_text.h"

namespace obrix {
namespace {

// The label is inked only inside its measured box and only in the background colour.
TEST(BgLabels, DrawnInsideTheMeasuredBoxAcrossPages) {
  test::MapFixture map;
  InstallBgLabelFont(SystemFont(13, 400));
  const Point size = BgLabels().measure("WWWWW");
  ASSERT_GT(size.x, 10);
  ASSERT_GT(size.y, 5);
  ResetPages();
  // Style 0 (no symbol pixels beyond x + 2): the label starts at x + 1 and crosses into the east page.
  const Point at{-20, 100};
  DrawBgSymbol(at, 0, "WWWWW");
  int inkedBeyondEdge = 0;
  for (int x = at.x + 3; x < at.x + 1 + size.x + 4; ++x) {
    for (int y = at.y - size.y - 3; y <= at.y + 3; ++y) {
      const PagePixel p = PixelToPage({x, y});
      const Colour c = MapColours().ColourAt(MapPages().At(p.col, p.row, MapLayer::Base, p.x, p.y));
      const bool inside = x < at.x + 1 + size.x && y > at.y - size.y;
      if (!inside) EXPECT_EQ(c, kWhite) << x << "," << y;
      else if (c != kWhite) EXPECT_EQ(c, kBgColour);
      if (c == kBgColour && x > 0) ++inkedBeyondEdge;
    }
  }
  EXPECT_GT(inkedBeyondEdge, 0);
  BgLabels() = {};
}

}  // namespace
}  // namespace obrix
