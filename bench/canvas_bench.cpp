// Canvas drawing rates: lines, rectangle fills and the profile scroll (an 800 x 300 pane shifted left by 2).
// Goal: a profile step (one scroll plus a few short lines) well under 1 ms, so the 72 ms record rate never waits.
#include <benchmark/benchmark.h>

#include "platform/canvas.h"

namespace obrix {
namespace {

void BM_Lines(benchmark::State& state) {
  const int width = int(state.range(0));
  Canvas canvas(800, 600);
  canvas.SelectPen(SolidPen(width, Rgb(255, 0, 0)));
  int i = 0;
  for (auto _ : state) {
    const int a = (i * 37) % 800, b = (i * 91) % 600;
    canvas.MoveTo(a, b);
    canvas.LineTo(799 - a, 599 - b);
    ++i;
  }
  benchmark::DoNotOptimize(canvas.bits());
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_Lines)->Arg(1)->Arg(2)->Arg(4);

// Lines whose ends lie far outside: the cost must stay that of the visible part.
void BM_FarClippedLines(benchmark::State& state) {
  Canvas canvas(800, 600);
  canvas.SelectPen(SolidPen(1, Rgb(0, 0, 255)));
  for (auto _ : state) {
    canvas.MoveTo(-2000000000, -1000000000);
    canvas.LineTo(2000000000, 1000000000);
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_FarClippedLines);

void BM_RectFill(benchmark::State& state) {
  const int side = int(state.range(0));
  Canvas canvas(800, 600);
  canvas.SelectPen(SolidPen(1, Rgb(0, 0, 0)));
  canvas.SelectBrush(SolidBrush(Rgb(0, 255, 0)));
  int i = 0;
  for (auto _ : state) {
    const int x = (i * 13) % (800 - side), y = (i * 7) % (600 - side);
    canvas.Rectangle(x, y, x + side, y + side);
    ++i;
  }
  state.SetItemsProcessed(state.iterations());
  state.SetBytesProcessed(state.iterations() * int64_t(side) * side * 4);
}
BENCHMARK(BM_RectFill)->Arg(8)->Arg(64)->Arg(300);

void BM_ProfileScroll(benchmark::State& state) {
  Canvas canvas(800, 300);
  for (int y = 0; y < 300; ++y) canvas.SetPixel(y, y, Rgb(255, 0, 0));
  for (auto _ : state) {
    canvas.BitBlt(0, 0, 800 - 11, 300, canvas, 2, 0);
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations());
  state.SetBytesProcessed(state.iterations() * int64_t(789) * 300 * 4);
}
BENCHMARK(BM_ProfileScroll);

void BM_MapPageAnd(benchmark::State& state) {
  Canvas pane(600, 600), track(600, 600);
  for (auto _ : state) {
    pane.BitBlt(0, 0, 600, 600, track, 0, 0, RasterOp::And);
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_MapPageAnd);

}  // namespace
}  // namespace obrix
