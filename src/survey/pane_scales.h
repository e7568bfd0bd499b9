#pragma once
// Scale arithmetic of the bar and profile panes: factors, baselines, grid rows, bar placement, the speed-bar
// scale and the conversion of channel values into pixel rows.
#include <array>
#include <span>

#include "survey/pane_state.h"

namespace obrix {

struct Settings;

// Row of the value v on a scale with top `max` and `factor` pixels per unit: trunc((max - v) x factor),
// saturated to the int range.
int ValueRow(double max, double v, double factor);
// The scale has values on both sides of 0 (min below 0, max above 0).
inline bool ScaleSpansZero(double min, double max) { return min < 0 && max > 0; }
// Pixels per unit for a pane `height` high; 0 for a scale whose minimum is not below its maximum.
double ScaleFactor(int height, double min, double max);

// Fills `rows` (count in entry 0, at most 9 rows) for a pane `height` high and returns the baseline code:
// 1 bars stand on the bottom (min >= 0), -1 they hang from the top (max <= 0), 0 they start at the zero line.
int ComputeGridRows(GridRows& rows, int height, double min, double max, double factor);
// The grid of this scale starts with its zero line (drawn thick): the scale spans 0 and the row of 0 lies
// inside the pane. A zero row at the pane edge gets the fixed grid, whose first row is not the zero line.
bool GridHasZeroLine(int height, double min, double max, double factor);
// Row where the bars of a pane start: 0 (baseline -1), the row of the value 0 (baseline 0) or the height.
int BarBaselineRow(int baseline, int zeroRow, int height);

// Recomputes the four factors, both baselines, the zero rows and the three grid tables from Config() and the
// pane sizes.
void UpdatePaneScales();
// Recomputes only the profile grid from the scale profileGridChannel selects (the display options OK).
void UpdateProfileGrid();
// The scale profileGridChannel selects, with its profile factor.
struct ProfileGridScale {
  double min, max, factor;
};
ProfileGridScale SelectedProfileScale();

// Start-up, after the first settings load: the scale state from the default scales 0..500 mS/m and
// -25..25 ppt (grid of channel 0), and the hook that recomputes it from the file's limits at later loads.
void InitPaneScales();
// Makes the settings load recompute the factors once the scale limits are read.
void InstallScaleLimitsHook();

// Bar placement for a right column C pixels wide: bar width, the two left edges and the pane width.
void PlaceBars(int rightColumnWidth);
// Length of the bar panes' grid lines for the right-column width at creation: ((C - 2) / 2 - 2) / 2.
constexpr int BarGridWidthFor(int rightColumnWidth) { return ((rightColumnWidth - 2) / 2 - 2) / 2; }

// SpeedBarScale = SpeedBarWidth / speedScaleMax (0 for a full scale not above 0).
void UpdateSpeedBarScale();
// Empty length of the speed bar for the shown speed: trunc((speedScaleMax - speed) x SpeedBarScale).
int SpeedBarEmptyWidth(double shownSpeed);

// profileGridChannel at logging-screen entry: 1 for component 1, 0 for the start-up component 2, else kept.
void ApplyProfileGridChannelAtEntry();

struct DisplayPixels {
  std::array<int, kProfileChannels> profileRows{};
  std::array<int, 2> condBarRows{};
  std::array<int, 2> inphBarRows{};
};
// The profile rows of channels 0..3 and the rows of the four bars for the channel values (absent channels hold 0).
DisplayPixels ToDisplayPixels(std::span<const double, kProfileChannels> channelValue);

}  // namespace obrix
