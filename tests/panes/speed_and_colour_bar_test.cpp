// The speed bar fill and the colour scale pane: boxes, frame, ticks and the five labels.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "panes/colour_bar.h"
#include "panes/pane_paint.h"
#include "panes/speed_bar.h"
#include "platform/canvas.h"
#include "settings/settings.h"
#include "state/palette.h"
#include "survey/pane_scales.h"
#include "survey/pane_state.h"

namespace obrix {
namespace {

class PaneBarsTest : public ::testing::Test {
 protected:
  PaneBarsTest() {
    ResetSettings();
    ResetPaneState();
    CreateSharedPens();
  }
  ~PaneBarsTest() override {
    ResetSettings();
    ResetPaneState();
  }
};

TEST_F(PaneBarsTest, SpeedBarFillsFromTheLeft) {
  Panes().SpeedBarWidth = 100;
  Config().speedScaleMax = 5;
  UpdateSpeedBarScale();
  struct {
    double speed;
    int filled;
  } cases[] = {{0, 0}, {2.5, 50}, {4.5, 90}, {4.99, 100}, {5, 100}, {7, 100}, {-1, 0}, {1e300, 100}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.speed);
    Canvas dc(100, kSpeedBarHeight, Rgb(9, 9, 9));
    DrawSpeedBar(dc, SpeedBarEmptyWidth(c.speed));
    for (int y = 0; y < kSpeedBarHeight; ++y)
      for (int x = 0; x < 100; ++x)
        ASSERT_EQ(dc.GetPixel(x, y), x < c.filled ? kSpeedBarBlue : kWhite) << x << "," << y;
  }
  Canvas dc(100, kSpeedBarHeight);
  DrawSpeedBar(dc, 0);
  PaintPanes({.speedBar = &dc}, kSpeedBarPane);  // empty until the next fix
  EXPECT_EQ(dc.GetPixel(0, 4), kWhite);
}

TEST_F(PaneBarsTest, ColourBarBoxesFrameAndTicks) {
  const ColourBarGeometry g = ColourBarLayout();
  EXPECT_EQ(g.boxes, 50);
  EXPECT_EQ(g.boxHeight, 5);
  EXPECT_EQ(g.columnHeight, 250);
  EXPECT_EQ(g.top, 28);
  Canvas dc(kColourBarPaneWidth, kColourBarPaneHeight);
  PaintColourBar(dc, nullptr);
  for (int i = 0; i < 50; ++i) {
    const int bottom = 28 + 250 - i * 5;  // box i covers rows bottom - 5 .. bottom - 1
    SCOPED_TRACE(i);
    EXPECT_EQ(dc.GetPixel(76, bottom - 5), ColourTable[i]);
    EXPECT_EQ(dc.GetPixel(94, bottom - 1), ColourTable[i]);
    EXPECT_EQ(dc.GetPixel(85, bottom - 3), ColourTable[i]);
  }
  EXPECT_EQ(dc.GetPixel(74, 150), kLegendFrame);
  EXPECT_EQ(dc.GetPixel(95, 150), kLegendFrame);
  EXPECT_EQ(dc.GetPixel(80, 26), kLegendFrame);
  EXPECT_EQ(dc.GetPixel(80, 27), kWhite);
  for (int row : {33, 273, 153, 90, 215}) {
    EXPECT_EQ(dc.GetPixel(63, row), kLegendFrame) << row;
    EXPECT_EQ(dc.GetPixel(68, row), kLegendFrame) << row;
    EXPECT_EQ(dc.GetPixel(69, row), kWhite) << row;
  }
}

TEST_F(PaneBarsTest, ColourBarLabelsFollowTheComponentsScale) {
  struct {
    int component;
    std::vector<std::string> texts;
  } cases[] = {{0, {"0.00", "125.00", "250.00", "375.00", "500.00"}},
               {1, {"-25.00", "-12.50", "0.00", "12.50", "25.00"}}};
  for (const auto& c : cases) {
    Config().component = c.component;
    std::vector<std::string> texts;
    std::vector<int> ys;
    Canvas dc(kColourBarPaneWidth, kColourBarPaneHeight);
    PaintColourBar(dc, [&](Canvas&, const ColourBarLabel& l) {
      EXPECT_EQ(l.x, 5);
      texts.push_back(l.text);
      ys.push_back(l.y);
    });
    EXPECT_EQ(texts, c.texts);
    EXPECT_EQ(ys, (std::vector<int>{267, 210, 147, 85, 27}));
  }
}

}  // namespace
}  // namespace obrix
