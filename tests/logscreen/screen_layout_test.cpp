#include "logscreen/screen_layout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace obrix {
namespace {

bool Overlap(const Rect& a, const Rect& b) {
  return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}
bool Empty(const Rect& r) { return r.right <= r.left || r.bottom <= r.top; }
bool Inside(const Rect& r, int w, int h) { return r.left >= 0 && r.top >= 0 && r.right <= w && r.bottom <= h; }

struct LayoutCase {
  const char* name;
  ScreenGeometry g;
};

const LayoutCase kCases[] = {
    {"landscape large, map", {1280, 762, 20, false, true, true}},
    {"landscape large, no map", {1280, 762, 20, false, false, true}},
    {"landscape small, map", {800, 562, 18, false, true, true}},
    {"landscape, no GPS", {1024, 730, 18, false, false, false}},
    {"portrait large, map", {800, 1242, 20, true, true, true}},
    {"portrait small, map", {640, 986, 18, true, true, true}},
    {"portrait, no map", {640, 986, 18, true, false, true}},
    {"landscape, tall title", {1024, 730, 18, false, true, true, 27}},
    {"portrait, tall title", {800, 1242, 20, true, true, true, 30}},
};

class ScreenLayoutTest : public ::testing::TestWithParam<LayoutCase> {};

TEST_P(ScreenLayoutTest, RegionsStayInsideAndApart) {
  const ScreenGeometry& g = GetParam().g;
  const ScreenLayout l = ComputeScreenLayout(g);
  std::vector<std::pair<std::string, Rect>> regions = {
      {"profile", l.profile}, {"cond", l.condBars}, {"inph", l.inphBars}, {"numbers", l.numbers}};
  if (g.mapVisible) regions.push_back({"map", l.map});
  if (g.gpsInput) regions.push_back({"speed", l.speedBar});
  for (int slot = 0; slot < 4; ++slot) regions.push_back({"button " + std::to_string(slot), l.mainButtons[slot]});
  if (g.mapVisible)
    for (int i = 0; i < 8; ++i) regions.push_back({"nav " + std::to_string(i), l.navButtons[i]});
  for (const auto& [name, r] : regions) {
    EXPECT_FALSE(Empty(r)) << name;
    EXPECT_TRUE(Inside(r, g.width, g.height)) << name;
  }
  for (size_t i = 0; i < regions.size(); ++i)
    for (size_t j = i + 1; j < regions.size(); ++j)
      EXPECT_FALSE(Overlap(regions[i].second, regions[j].second)) << regions[i].first << " / " << regions[j].first;
  // The pause button covers none of the panes, and the prompt lies beside it.
  for (const auto& [name, r] : regions)
    if (name.rfind("button", 0) != 0) EXPECT_FALSE(Overlap(l.pauseButton, r)) << name;
  EXPECT_FALSE(Overlap(l.pauseButton, l.pausePrompt));
  EXPECT_FALSE(Empty(l.pausePrompt));
  // The readout band lies clear of panes and buttons.
  for (const auto& [name, r] : regions) EXPECT_FALSE(Overlap(l.readouts, r)) << name;
}

TEST_P(ScreenLayoutTest, RightColumnAndPaneRules) {
  const ScreenGeometry& g = GetParam().g;
  const ScreenLayout l = ComputeScreenLayout(g);
  const int W = g.width, H = g.height, L = g.lineHeight;
  const int T = std::max(20, g.titleHeight + 2);  // the panes start under the map title
  const int band = static_cast<int>((g.portrait ? 0.8 : 0.6) * H);
  EXPECT_EQ(l.condBars.left, W - 130);
  EXPECT_EQ(l.inphBars.right, W - 130 + 110);
  EXPECT_EQ(l.inphBars.left - l.condBars.right, 2);
  EXPECT_EQ(l.condBars.right - l.condBars.left, 54);
  EXPECT_EQ(l.numbers.bottom - l.numbers.top, 4 * L + 10);
  EXPECT_EQ(l.numbers.top - l.condBars.bottom, 7 * L / 2);
  if (g.mapVisible) {
    // Landscape: the square gives up width only when the stacked readout rows (13 L) would not fit beside it.
    const int side = g.portrait ? W - 40 : std::min(H - L - 24 - T, W - 176 - (13 * L - 14) * 5 / 4);
    if (!g.portrait && W >= 1280) EXPECT_EQ(side, H - L - 24 - T);
    if (!g.portrait) EXPECT_GE(l.readouts.right - l.readouts.left, 13 * L);
    EXPECT_EQ(l.map, (Rect{20, T, 20 + side, T + side}));
    if (g.gpsInput) EXPECT_EQ(l.speedBar, (Rect{20, T + side + L + 2, 20 + side, T + side + L + 10}));
    if (!g.portrait) {
      EXPECT_EQ(l.profile.left, 20 + side + 6);
      EXPECT_EQ(l.profile.right - l.profile.left, W - 170 - side - 6);
      // The band keeps 0.6 H unless the readout rows need its height: one column under the other (11 rows)
      // when the two side by side (22 line heights) do not fit across.
      EXPECT_LE(l.numbers.bottom, band);
      EXPECT_EQ(l.wideReadouts, l.readouts.right - l.readouts.left >= 22 * L);
      const int need = l.wideReadouts ? 7 * L + 14 : 11 * L + 20;
      EXPECT_GE(l.readouts.bottom - l.readouts.top, need);
      if (l.readouts.bottom - l.readouts.top > need + 4) EXPECT_EQ(l.numbers.bottom, band);
    } else {
      EXPECT_TRUE(l.wideReadouts);
    }
  } else {
    EXPECT_TRUE(Empty(l.map));
    EXPECT_EQ(l.profile, (Rect{20, T, W - 150, std::min(band, l.profile.bottom)}));
    EXPECT_LE(l.profile.bottom, band);
    EXPECT_GE(l.readouts.bottom - l.readouts.top, 7 * L + 14);  // the readout rows fit above the buttons
    EXPECT_EQ(Empty(l.speedBar), !g.gpsInput);
    // One row of buttons in slot order, "P A U S E" two buttons wide at its right end.
    for (int slot = 1; slot < 4; ++slot) EXPECT_GT(l.mainButtons[slot].left, l.mainButtons[slot - 1].right);
    EXPECT_EQ(l.pauseButton.left, l.mainButtons[2].left);
    EXPECT_GE(l.pauseButton.right, l.mainButtons[3].right);
    EXPECT_LT(l.pausePrompt.right, l.pauseButton.left);
  }
}

INSTANTIATE_TEST_SUITE_P(Variants, ScreenLayoutTest, ::testing::ValuesIn(kCases),
                         [](const auto& info) {
                           std::string n = info.param.name;
                           for (char& c : n)
                             if (!isalnum(static_cast<unsigned char>(c))) c = '_';
                           return n;
                         });

}  // namespace
}  // namespace obrix
