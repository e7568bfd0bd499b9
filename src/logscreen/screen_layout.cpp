#include "logscreen/screen_layout.h"

#include <algorithm>

namespace obrix {
namespace {

Rect R(int left, int top, int width, int height) { return {left, top, left + width, top + height}; }

// Readout rows (readout_layout), rows at most a line height L apart: the file row, the counter and GPS columns
// side by side (`wide`) or one under the other, then the write-error warning row.
int ReadoutHeight(int L, bool wide) { return wide ? 7 * L + 14 : 11 * L + 20; }
// The two readout columns side by side need about this many line heights across.
constexpr int kWideReadoutLines = 22;

// Two rows of four navigation places in [left, right) x [top, top + 2h + 3): Lf Rt Up Dn / Zm+ Zm- Fit Review.
// The arrows share the first row evenly; in the second the widths follow the captions (weights 2, 2, 3, 5), so
// "Enter Review" keeps its font where the zoom buttons need little.
void PlaceNavButtons(ScreenLayout& l, int left, int right, int top, int h) {
  const int w = std::max(10, (right - left - 3 * 3) / 4);
  for (int i = 0; i < 4; ++i) l.navButtons[i] = R(left + i * (w + 3), top, w, h);  // 470..473
  constexpr int kWeights[4] = {2, 2, 3, 5};                                         // Zm+ Zm- Fit All Review
  const int free = std::max(40, right - left - 3 * 3);
  int x = left;
  for (int k = 0, used = 0; k < 4; ++k) {
    const int share = k == 3 ? free - used : free * kWeights[k] / 12;
    l.navButtons[4 + k] = R(x, top + h + 3, share, h);
    x += share + 3;
    used += share;
  }
  l.navButtons[8] = l.navButtons[7];  // Exit Review takes the same place
}

// Four main buttons in one row from left to right in slot order, "P A U S E" over slots 2 and 3, the pause
// prompt left of it.
void PlaceButtonRow(ScreenLayout& l, int left, int right, int top, int h) {
  const int w = std::max(10, (right - left - 3 * 6) / 4);
  for (int slot = 0; slot < 4; ++slot) l.mainButtons[slot] = R(left + slot * (w + 6), top, w, h);
  l.pauseButton = {l.mainButtons[2].left, top, right, top + h};
  l.pausePrompt = {left, top, l.pauseButton.left - 6, top + h};
}

void PlaceRightColumn(ScreenLayout& l, int colX, int barsTop, int numbersBottom, int L) {
  const int numbersHeight = 4 * L + 10;
  l.numbers = {colX, numbersBottom - numbersHeight, colX + kRightColumnWidth, numbersBottom};
  const int barsBottom = std::max(barsTop + 10, l.numbers.top - (7 * L) / 2);
  const int half = (kRightColumnWidth - 2) / 2;
  l.condBars = {colX, barsTop, colX + half, barsBottom};
  l.inphBars = {colX + half + 2, barsTop, colX + 2 * half + 2, barsBottom};
  l.summary = {colX, numbersBottom + 4};
}

}  // namespace

ScreenLayout ComputeScreenLayout(const ScreenGeometry& g) {
  ScreenLayout l;
  const int W = g.width, H = g.height, L = std::max(8, g.lineHeight);
  const int colX = W - kRightColumnOffset;
  const int bandBottom = static_cast<int>((g.portrait ? 0.8 : 0.6) * H);
  const int summaryHeight = 3 * L + 8;
  // Top of the panes: under the strip of the status line and the map title.
  const int T = std::max(20, g.titleHeight + 2);
  l.rightColumnWidth = kRightColumnWidth;

  if (g.mapVisible && !g.portrait) {
    // The square map gives up width on a narrow screen so that the readout rows, one column under the other
    // (about 13 line heights wide), still fit between the profile's left edge and the button block.
    const int readoutNeed = 13 * L;
    const int profileNeed = (readoutNeed - 14) * 5 / 4;
    const int side = std::max(40, std::min(H - L - 24 - T, W - 176 - profileNeed));
    l.map = R(20, T, side, side);
    if (g.gpsInput) l.speedBar = R(20, T + side + L + 2, side, 8);
    const int profileLeft = 20 + side + 6;
    const int profileWidth = std::max(20, W - 170 - side - 6);
    // The 2 x 2 block under the right column, widened by a share of the profile width.
    const int blockLeft = colX - profileWidth / 5;
    const int nh = std::max(22, L + 6);
    const int navTop = H - 20 - 2 * nh - 3;
    l.wideReadouts = blockLeft - 6 - profileLeft >= kWideReadoutLines * L;
    // The band of profile and bars gives up height where the readout rows would run into the navigation.
    const int band = std::max(T + 40, std::min(bandBottom, navTop - 8 - ReadoutHeight(L, l.wideReadouts)));
    l.profile = R(profileLeft, T, profileWidth, band - T);
    PlaceRightColumn(l, colX, T, band, L);
    const int blockTop = band + 4 + summaryHeight;
    const int blockBottom = H - 20;
    const int bw = (W - 20 - blockLeft - 3) / 2;
    const int bh = std::max(16, (blockBottom - blockTop - 3) / 2);
    l.mainButtons[0] = R(blockLeft, blockTop, bw, bh);
    l.mainButtons[1] = R(blockLeft, blockTop + bh + 3, bw, bh);
    l.mainButtons[2] = R(blockLeft + bw + 3, blockTop, bw, bh);
    l.mainButtons[3] = R(blockLeft + bw + 3, blockTop + bh + 3, bw, bh);
    // The prompt takes the top of the block, "P A U S E" the rest.
    const int promptHeight = std::min(3 * L + 4, (blockBottom - blockTop) / 2);
    l.pausePrompt = {blockLeft, blockTop, W - 20, blockTop + promptHeight};
    l.pauseButton = {blockLeft, blockTop + promptHeight, W - 20, blockBottom};
    PlaceNavButtons(l, profileLeft, blockLeft - 6, navTop, nh);
    l.readouts = {profileLeft, band + 4, blockLeft - 6, navTop - 4};
    return l;
  }

  if (g.mapVisible && g.portrait) {
    const int side = std::max(40, W - 40);
    l.map = R(20, T, side, side);
    if (g.gpsInput) l.speedBar = R(20, T + side + L + 2, side, 8);
    const int y0 = T + side + L + 2 + 8 + L + 4;
    PlaceRightColumn(l, colX, y0, H - 20 - summaryHeight, L);
    // Under the map the whole width left of the right column is free: the two readout columns side by side.
    l.wideReadouts = true;
    const int bh = std::max(32, 2 * L + 4);
    PlaceButtonRow(l, 20, colX - 20, H - 20 - bh, bh);
    const int nh = std::max(22, L + 6);
    const int navTop = H - 20 - bh - 4 - 2 * nh - 3;
    PlaceNavButtons(l, 20, colX - 20, navTop, nh);
    const int rows = ReadoutHeight(L, true);
    const int profileBottom = std::max(y0 + 20, navTop - 4 - rows - 4);
    l.profile = {20, y0, colX - 20, profileBottom};
    l.readouts = {20, profileBottom + 4, colX - 20, navTop - 4};
    return l;
  }

  // Map hidden: the profile spans to the right column, the buttons form one row along the bottom. The band of
  // profile and bars gives up height where the readout rows would not fit above the buttons.
  const int rowsNeeded = ReadoutHeight(L, true);
  const int buttonHeight = std::max(24, 5 * L - 8);
  const int speedRows = g.gpsInput ? L + 14 : 4;  // the speed bar between the band and the readouts
  const int band = std::max(T + 40, std::min(bandBottom, H - 20 - buttonHeight - 4 - rowsNeeded - speedRows));
  l.profile = {20, T, colX - 20, band};
  int below = band + 4;
  if (g.gpsInput) {
    l.speedBar = R(20, band + L + 2, colX - 40, 8);
    below = l.speedBar.bottom + 4;
  }
  PlaceRightColumn(l, colX, T, band, L);
  l.wideReadouts = true;
  int top = std::max(below + rowsNeeded, H - 20 - buttonHeight);
  top = std::min(top, H - 20 - 24);
  PlaceButtonRow(l, 20, W - 20, top, H - 20 - top);
  const int nh = std::max(22, L + 6);
  PlaceNavButtons(l, 20, colX - 20, top - 4 - 2 * nh - 3, nh);  // hidden while the map is
  l.readouts = {20, below, colX - 20, top - 4};
  return l;
}

}  // namespace obrix
