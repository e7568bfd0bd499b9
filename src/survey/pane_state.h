#pragma once
// Process-wide state of the bar, profile and speed-bar panes: their geometry, the scale factors and grid rows,
// the continuity of the profile curves and the bar rows last drawn.
#include <array>

namespace obrix {

inline constexpr int kProfileChannels = 8;
inline constexpr int kGridRowsSize = 10;  // entry 0 holds the count, entries 1..9 the rows
using GridRows = std::array<int, kGridRowsSize>;

// Right-column width before the first layout; fixes the length of the bar panes' grid lines.
inline constexpr int kInitialRightColumnWidth = 233;
inline constexpr int kSpeedBarHeight = 8;
// Columns right of the newest profile point that stay empty.
inline constexpr int kProfileRightMargin = 10;

enum Baseline : int { BaselineTop = -1, BaselineZero = 0, BaselineBottom = 1 };

// One bar pane (two bars: 0 vertical dipole, 1 horizontal dipole).
struct BarPaneState {
  int Drawn = 0;                  // 0: cleared and initialised at the next update
  std::array<int, 2> Row{};       // free end of each bar as last drawn (may lie outside the pane)
  std::array<int, 2> Shown{};     // the same clamped to 0..BarHeight, used by repaint
};

struct PaneState {
  // Geometry, set by the layout of the logging screen.
  int ProfileWidth = 0;
  int ProfileHeight = 0;
  int BarPaneWidth = 0;
  int BarHeight = 0;
  int SpeedBarWidth = 0;
  std::array<int, 2> BarX{};
  int BarWidth = 0;
  int BarGridWidth = 56;

  // Scales.
  double CondProfileFactor = 0.0;
  double InphProfileFactor = 0.0;
  double CondBarFactor = 0.0;
  double InphBarFactor = 0.0;
  int CondBaseline = BaselineBottom;
  int InphBaseline = BaselineZero;
  GridRows ProfileGridRows{};
  GridRows CondBarGridRows{};
  GridRows InphBarGridRows{};
  // Row of the value 0 in each bar pane (where bars of baseline 0 start).
  int CondBarZeroRow = 0;
  int InphBarZeroRow = 0;
  double SpeedBarScale = 0.0;

  // Profile curves, per channel.
  std::array<int, kProfileChannels> ProfileContinued{};
  std::array<int, kProfileChannels> ProfileLastRow{};
  std::array<int, kProfileChannels> ProfileLastPresent{};

  // Bars.
  BarPaneState Cond;
  BarPaneState Inph;
};

PaneState& Panes();
// Back to the initial state (tests).
void ResetPaneState();

}  // namespace obrix
