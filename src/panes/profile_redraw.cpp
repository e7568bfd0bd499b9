#include "panes/profile_redraw.h"

#include <array>
#include <cstdlib>
#include <vector>

#include "datafile/data_file.h"
#include "datafile/record_reader.h"
#include "em38/em38_record.h"
#include "panes/profile_pane.h"
#include "platform/canvas.h"
#include "settings/settings.h"
#include "state/palette.h"
#include "survey/pane_scales.h"
#include "survey/pane_state.h"

namespace obrix {

namespace {

constexpr int kRedrawChannels = 4;
constexpr int kStep = 2;
constexpr int kGapColumns = 3;  // neighbours this far apart belong to different parts of a run

using Runs = std::array<std::vector<Point>, kRedrawChannels>;

// One run in the channel's pen: a polyline per part between gaps; a part of one point as a two-point line.
void DrawRun(Canvas& dc, int channel, std::vector<Point>& run) {
  dc.SelectPen(Pens().TracePen[channel]);
  std::size_t start = 0;
  for (std::size_t i = 1; i <= run.size(); ++i) {
    if (i < run.size() && std::abs(run[i].x - run[i - 1].x) < kGapColumns) continue;
    if (i - start == 1) {
      const Point dot[2] = {run[start], run[start]};
      dc.Polyline(dot, 2);
    } else {
      dc.Polyline(run.data() + start, i - start);
    }
    start = i;
  }
  run.clear();
}

void DrawRuns(Canvas& dc, Runs& runs) {
  for (int c = 0; c < kRedrawChannels; ++c)
    if (!runs[c].empty()) DrawRun(dc, c, runs[c]);
}

bool IsPauseEvent(const DataRecord& r) { return r.kind() == 'X' && r.field(1, 6) == "PAUSED"; }

}  // namespace

void RedrawProfileFromFile(Canvas& dc, int fd) {
  if (fd < 0) return;
  dc.Clear(kWhite);
  PaintProfilePane(dc);

  const Settings& s = Config();
  const PaneState& p = Panes();
  RecordReader reader(fd);
  reader.SeekEnd();
  Runs runs;
  int x = p.ProfileWidth - kProfileRightMargin;
  DataRecord r;
  while (x >= 0 && reader.Prev(r)) {
    const char kind = r.kind();
    if (kind == 'Z') break;
    if (kind == 'T') {
      const Em38Reading reading = ParseEm38Record(InstrumentField(r));
      const int c = reading.channel;
      if (c >= 0 && c < kRedrawChannels) {
        const int row = c < 2 ? ValueRow(s.condScaleMax, reading.value, p.CondProfileFactor)
                              : ValueRow(s.inphScaleMax, reading.value, p.InphProfileFactor);
        runs[c].push_back({x, row});
      }
      x -= kStep;
    } else if (kind == 'S' || IsPauseEvent(r)) {
      x -= kStep;
      DrawRuns(dc, runs);
    }
  }
  DrawRuns(dc, runs);
}

void RedrawProfileFromData(Canvas& dc) {
  if (!DataFileIsOpen()) return;
  RedrawProfileFromFile(dc, DataFile().DataFileHandle);
}

}  // namespace obrix
