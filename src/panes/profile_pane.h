#pragma once
// The profile pane: a strip chart that moves two pixels left for every recorded reading.
#include <array>
#include <span>

#include "platform/canvas.h"
#include "survey/pane_state.h"

namespace obrix {

// Grid lines from x0 to x1 (x1 excluded) at the rows of the table: entry 1 with the zero-line pen when
// `zeroLine`, else with the grid pen, the others with the grid pen.
void DrawGridLines(Canvas& dc, const GridRows& rows, bool zeroLine, int x0, int x1);

// What one step did to the pane: the block `moved` (before the step) went `dx` pixels sideways, then every
// pixel drawn lay inside `drawn`. Both are clipped to the canvas; `moved` is empty when nothing moved.
struct ProfileStep {
  Rect moved;
  int dx = 0;
  Rect drawn;
};

// Moves the profile one step and draws the new point of every present channel (channels
// 0..ProfileChannelCount-1 whose `present` entry is set).
ProfileStep ScrollProfile(Canvas& dc, const std::array<int, kProfileChannels>& rows,
                          std::span<const int, kProfileChannels> present);

// Every channel starts a new run at its next point.
void ResetProfileContinuity();

// The pane's size; a new height also starts new runs, as the last rows were worked out for the old one.
void SetProfileSize(int width, int height);

// Paints an erased profile pane: the grid across the full width (nothing while the instrument is disabled).
void PaintProfilePane(Canvas& dc);

}  // namespace obrix
