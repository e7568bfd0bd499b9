// The bar panes: incremental updates for the three baselines and the box they change, grid on top, repaint,
// first-update clear.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <vector>

#include "panes/bar_panes.h"
#include "platform/canvas.h"
#include "settings/settings.h"
#include "state/palette.h"
#include "survey/pane_scales.h"
#include "survey/pane_state.h"

namespace obrix {
namespace {

constexpr int kHeight = 100;
constexpr Colour kSentinel = Rgb(1, 2, 3);

struct Pane {
  bool inphase;
  BarPaneState& state() const { return inphase ? Panes().Inph : Panes().Cond; }
  int baseline() const { return inphase ? Panes().InphBaseline : Panes().CondBaseline; }
  Rect Draw(Canvas& c, std::array<int, 2> rows) const {
    return inphase ? DrawInphaseBars(c, rows) : DrawConductivityBars(c, rows);
  }
  void Paint(Canvas& c) const { inphase ? PaintInphaseBarPane(c) : PaintConductivityBarPane(c); }
  void Grid(Canvas& c) const { inphase ? DrawInphaseBarGrid(c) : DrawConductivityBarGrid(c); }
  int colour(int k) const { return (inphase ? 2 : 0) + k; }
};

class BarPanesTest : public ::testing::Test {
 protected:
  BarPanesTest() {
    ResetSettings();
    ResetPaneState();
    Config().traceColour = {Rgb(200, 0, 0), Rgb(0, 150, 0), Rgb(0, 0, 220), Rgb(120, 0, 120),
                            0, 0, 0, 0};
    CreateSharedPens();
    PlaceBars(110);
    Panes().BarHeight = kHeight;
  }
  ~BarPanesTest() override {
    ResetSettings();
    ResetPaneState();
  }

  void SetScale(const Pane& pane, double min, double max) {
    (pane.inphase ? Config().inphScaleMin : Config().condScaleMin) = min;
    (pane.inphase ? Config().inphScaleMax : Config().condScaleMax) = max;
    UpdatePaneScales();
  }

  // White pane, both bars as whole rectangles from the baseline to their rows, the grid on top.
  Canvas Expected(const Pane& pane, std::array<int, 2> rows, int base) const {
    const PaneState& p = Panes();
    Canvas c(54, kHeight);
    for (int k = 0; k < 2; ++k) {
      c.FillRect({p.BarX[k], std::min(rows[k], base), p.BarX[k] + p.BarWidth, std::max(rows[k], base)},
                 Config().traceColour[pane.colour(k)]);
    }
    pane.Grid(c);
    return c;
  }
};

// Reports the first pixel where two canvases differ.
::testing::AssertionResult SamePixels(const Canvas& got, const Canvas& want) {
  for (int y = 0; y < want.height(); ++y)
    for (int x = 0; x < want.width(); ++x)
      if (got.GetPixel(x, y) != want.GetPixel(x, y))
        return ::testing::AssertionFailure() << "pixel (" << x << ", " << y << ") is " << std::hex
                                             << got.GetPixel(x, y) << ", expected " << want.GetPixel(x, y);
  return ::testing::AssertionSuccess();
}

// Reports the first pixel that changed outside the box an update gave as changed.
::testing::AssertionResult ChangedOnlyWithin(const Canvas& before, const Canvas& after, const Rect& box) {
  for (int y = 0; y < after.height(); ++y)
    for (int x = 0; x < after.width(); ++x)
      if (before.GetPixel(x, y) != after.GetPixel(x, y) &&
          (x < box.left || x >= box.right || y < box.top || y >= box.bottom))
        return ::testing::AssertionFailure() << "pixel (" << x << ", " << y << ") changed outside the box";
  return ::testing::AssertionSuccess();
}

struct SequenceCase {
  const char* name;
  bool inphase;
  double min, max;
  int baseline;
  int baseRow;  // where the bars start
  std::vector<std::array<double, 2>> values;
};

TEST_F(BarPanesTest, EachUpdateLeavesExactlyTheBarsAndTheGrid) {
  const SequenceCase cases[] = {
      {"standing on the bottom", false, 0, 100, 1, 100,
       {{30, 80}, {70, 20}, {50, 20}, {50, 0}, {0, 45}, {120, 60}, {10, -5}, {100, 100}}},
      {"hanging from the top", true, -100, 0, -1, 0,
       {{-30, -80}, {-70, -20}, {-50, -20}, {-100, 0}, {20, -45}, {-130, -60}, {-10, 0}}},
      {"from the zero line", false, -50, 50, 0, 50,
       {{20, -20}, {40, -40}, {-30, 30}, {-10, 10}, {30, -30}, {0, 0}, {80, -80}, {-70, 70}, {10, -10}}},
      {"from the zero line, inphase pane", true, -25, 75, 0, 75,
       {{-20, 60}, {50, -10}, {0, 0}, {-30, 90}}},
      // The row of 0 truncates to the top edge and the grid falls back to the fixed rows: the bars still
      // start at the row of 0, not at the first grid row.
      {"zero row at the top edge", false, -1000, 0.1, 0, 0, {{-500, -100}, {-900, 0}, {-20, -1000}}},
  };
  for (const SequenceCase& c : cases) {
    SCOPED_TRACE(c.name);
    Pane pane{c.inphase};
    SetScale(pane, c.min, c.max);
    ASSERT_EQ(pane.baseline(), c.baseline);
    pane.state().Drawn = 0;
    Canvas dc(54, kHeight);
    for (const auto& v : c.values) {
      SCOPED_TRACE(testing::Message() << "values " << v[0] << ", " << v[1]);
      const double f = kHeight / (c.max - c.min);
      const std::array<int, 2> rows = {ValueRow(c.max, v[0], f), ValueRow(c.max, v[1], f)};
      const Canvas before = dc;
      const Rect changed = pane.Draw(dc, rows);
      ASSERT_TRUE(SamePixels(dc, Expected(pane, rows, c.baseRow)));
      // The box shown again holds every changed pixel.
      ASSERT_TRUE(ChangedOnlyWithin(before, dc, changed));
      for (int k = 0; k < 2; ++k) {
        EXPECT_EQ(pane.state().Row[k], rows[k]);
        EXPECT_EQ(pane.state().Shown[k], std::clamp(rows[k], 0, kHeight));
      }
      // A repaint of the erased pane shows the same bars.
      Canvas repainted(54, kHeight);
      pane.Paint(repainted);
      ASSERT_TRUE(SamePixels(repainted, dc));
    }
  }
}

TEST_F(BarPanesTest, OnlyTheDifferenceIsPainted) {
  Pane pane{false};
  SetScale(pane, 0, 100);
  Canvas dc(54, kHeight);
  const int x = Panes().BarX[0] + 5;
  pane.Draw(dc, {40, 40});
  dc.SetPixel(x, 70, kSentinel);   // inside the bar that stays
  dc.SetPixel(x, 20, kSentinel);   // above it, where the bar grows to
  pane.Draw(dc, {10, 40});
  EXPECT_EQ(dc.GetPixel(x, 70), kSentinel);
  EXPECT_EQ(dc.GetPixel(x, 20), Config().traceColour[0]);
  pane.Draw(dc, {60, 40});          // shrinks below the sentinel row
  EXPECT_EQ(dc.GetPixel(x, 70), kSentinel);
  EXPECT_EQ(dc.GetPixel(x, 50), kWhite);
}

TEST_F(BarPanesTest, ValueAboveTheScaleReachesTheTopAndRepaintsFromRowZero) {
  Pane pane{false};
  SetScale(pane, 0, 100);
  Canvas dc(54, kHeight);
  const std::array<int, 2> rows = {ValueRow(100, 250, 1.0), ValueRow(100, 0, 1.0)};
  pane.Draw(dc, rows);
  EXPECT_EQ(rows[0], -150);
  EXPECT_EQ(pane.state().Shown[0], 0);
  EXPECT_EQ(dc.GetPixel(Panes().BarX[0] + 3, 0), Config().traceColour[0]);
  // The other channel holds 0: zero height on the bottom.
  EXPECT_EQ(dc.GetPixel(Panes().BarX[1] + 3, kHeight - 1), kWhite);
}

TEST_F(BarPanesTest, ResetPaneIsClearedAtItsNextUpdateWhileTheOtherKeepsItsBars) {
  SetScale(Pane{false}, 0, 100);
  SetScale(Pane{true}, 0, 100);
  Canvas cond(54, kHeight), inph(54, kHeight);
  DrawConductivityBars(cond, {30, 60});
  DrawInphaseBars(inph, {30, 60});
  for (Canvas* c : {&cond, &inph}) c->SetPixel(50, 5, kSentinel);  // inside the first-update clear
  Panes().Cond.Drawn = 0;  // what Toggle View does
  DrawConductivityBars(cond, {30, 60});
  DrawInphaseBars(inph, {30, 60});
  EXPECT_EQ(cond.GetPixel(50, 5), kWhite);
  EXPECT_EQ(inph.GetPixel(50, 5), kSentinel);
  EXPECT_TRUE(SamePixels(cond, Expected(Pane{false}, {30, 60}, kHeight)));
}

TEST_F(BarPanesTest, NothingIsRepaintedWhileTheInstrumentIsDisabled) {
  SetScale(Pane{false}, 0, 100);
  Canvas dc(54, kHeight);
  DrawConductivityBars(dc, {30, 60});
  Config().instrumentEnabled = 0;
  Canvas repainted(54, kHeight);
  PaintConductivityBarPane(repainted);
  EXPECT_TRUE(SamePixels(repainted, Canvas(54, kHeight)));
}

}  // namespace
}  // namespace obrix
