// The pane work of one EM38 reading: pixel rows, one profile step on a 600 x 180 pane and both bar updates.
// Goal: under 50 microseconds per reading.
#include <benchmark/benchmark.h>

#include <array>
#include <cmath>

#include "panes/bar_panes.h"
#include "panes/profile_pane.h"
#include "platform/canvas.h"
#include "settings/settings.h"
#include "state/palette.h"
#include "survey/pane_scales.h"
#include "survey/pane_state.h"

namespace obrix {
namespace {

void BM_ReadingPaneWork(benchmark::State& state) {
  ResetSettings();
  ApplyStartupValues();
  CreateSharedPens();
  PaneState& p = Panes();
  p.ProfileWidth = 600;
  p.ProfileHeight = 180;
  p.BarHeight = 150;
  PlaceBars(110);
  Config().profileGridChannel = 1;
  UpdatePaneScales();
  Canvas profile(600, 180), cond(54, 150), inph(54, 150);
  // One channel per record, as the instrument sends them.
  std::array<double, 8> values{};
  std::array<int, 8> present{};
  int i = 0;
  for (auto _ : state) {
    values.fill(0);
    present.fill(0);
    const int c = (i / 50) % 4;
    values[c] = c < 2 ? 250 + 200 * std::sin(i / 20.0) : 20 * std::sin(i / 15.0);
    present[c] = 1;
    const DisplayPixels px = ToDisplayPixels(values);
    ScrollProfile(profile, px.profileRows, present);
    DrawConductivityBars(cond, px.condBarRows);
    DrawInphaseBars(inph, px.inphBarRows);
    ++i;
  }
  benchmark::DoNotOptimize(profile.bits());
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ReadingPaneWork);

}  // namespace
}  // namespace obrix
