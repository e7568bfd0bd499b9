// The map over a synthetic full-day survey: 28,800 fixes at 1 Hz, 1 m/s along 5 m-spaced north-south lines 700 m
// long, 5 readings per fix, colour view, default map size (40 m), a 666-pixel pane.
// Goals: the page memory of the whole day under 256 MB; one live fix with its colour swath and the pane
// composed (ShowView) at a median under 3 ms.
#include <benchmark/benchmark.h>

#include "app/palette.h"
#include "app/session.h"
#include "app/settings.h"
#include "gps/fix_state.h"
#include "gps/reading_bins.h"
#include "map/colour_scale.h"
#include "map/map_pages.h"
#include "map/map_track.h"
#include "map/survey_walk.h"

namespace obrix {
namespace {

constexpr int kPaneSide = 666;
constexpr int kDayFixes = 28800;

struct LiveMap {
  SurveyWalk walk;
  Canvas pane;
  int next = 0;

  LiveMap() {
    ResetSettings();
    Drv().MapPaneWidth = kPaneSide;
    Config().mapColourView = 1;
    Drv().CursorBandPx = CursorBandPixels(Config().cursorBandIndex, kPaneSide);
    UpdateSwathEdges();
    CreateSharedPens();
    ResetSession();
    ResetFix();
    ResetBins();
    ResetSwathTrack();
    ResetMapFrame();
    Sess().MapVisible = true;
    pane.Resize(kPaneSide - 2, kPaneSide - 2);
  }

  void Feed(int count) {
    FeedWalk(walk, next, next + count, [&](int i, double e, double n, double d) {
      if (Fix().MapStarted == 0) {
        Fix().MapOrigin = {e, n};
        Fix().TrackExtent = {e, e, n, n};
        Fix().MapStarted = 1;
      }
      ReadingBinState& b = Bins();
      for (int k = 0; k < walk.readingsPerFix; ++k) b.ReadingBins[0][k] = ColourIndexOf(WalkReading(walk, i, k));
      b.LastBinBuffer = 0;
      b.LastBinCount = walk.readingsPerFix - 1;
      b.BinsReady = 1;
      UpdateMapPosition(pane, Logging, n, e, d);
    });
    next += count;
  }
};

// The whole day once: time per fix and the memory the pages hold at the end.
void BM_DaySurvey(benchmark::State& state) {
  for (auto _ : state) {
    LiveMap map;
    map.Feed(kDayFixes);
    state.counters["page_MB"] = double(MapPages().Bytes()) / (1024.0 * 1024.0);
    state.counters["pages"] = double(MapPages().PageCount());
    state.counters["tiles"] = double(MapPages().TileCount());
    state.counters["used_pages"] = double((Frame().UsedPages.colMax - Frame().UsedPages.colMin + 1) *
                                          (Frame().UsedPages.rowMax - Frame().UsedPages.rowMin + 1));
  }
  state.SetItemsProcessed(state.iterations() * kDayFixes);
}
BENCHMARK(BM_DaySurvey)->Iterations(1)->Unit(benchmark::kMillisecond);

// One live fix late in the day (most pages exist), with its colour swath and the pane.
void BM_LiveFix(benchmark::State& state) {
  static LiveMap* map = [] {
    auto* m = new LiveMap;
    m->Feed(kDayFixes - 2000);
    return m;
  }();
  for (auto _ : state) {
    if (map->next >= kDayFixes * 3) state.SkipWithError("walk exhausted");
    map->Feed(1);
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_LiveFix)->Iterations(2000)->Repetitions(5)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace obrix
