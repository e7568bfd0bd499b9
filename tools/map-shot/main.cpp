// map-shot OUT_PREFIX [FIXES]: draws a synthetic survey into the map pages as the live drawing does and writes
// the composed pane of the positions view and of the colour view (live view and a fitted review view) as PNG.
#include <cstdio>
#include <cstdlib>
#include <string>

#include <unistd.h>

#include "datafile/data_file.h"
#include "datafile/writers.h"
#include "gps/fix_state.h"
#include "gps/reading_bins.h"
#include "map/map_navigation.h"
#include "map/map_pages.h"
#include "map/map_track.h"
#include "map/map_view_state.h"
#include "map/survey_walk.h"
#include "platform/png_writer.h"
#include "platform/program_options.h"
#include "settings/settings.h"
#include "state/colour_scale.h"
#include "state/palette.h"
#include "state/session.h"

using namespace obrix;

namespace {

constexpr int kPaneSide = 666;

void Survey(Canvas& pane, const SurveyWalk& w, int fixes, int colourView, int positionSize) {
  ResetSettings();
  Drv().MapPaneWidth = kPaneSide;
  Config().mapColourView = colourView;
  Config().positionSize = positionSize;
  Config().gridStyle = 1;
  Config().linesAngleDeg = 30;
  Config().gridInterval = 5;
  Config().swathWidthIndex = 4;  // 3 units: the lines 5 apart show their gaps
  Config().condScaleMin = 0;
  Config().condScaleMax = 400;
  Drv().CursorBandPx = CursorBandPixels(Config().cursorBandIndex, kPaneSide);
  UpdateSwathEdges();
  UpdateCursorSizes();
  CreateSharedPens();
  ResetSession();
  ResetFix();
  ResetBins();
  ResetSwathTrack();
  ResetMapFrame();
  Sess().MapVisible = true;
  Sess().SelectedChannel = 0;
  pane.Resize(kPaneSide - 2, kPaneSide - 2);
  char path[] = "/tmp/map-shot-XXXXXX";
  const int fd = mkstemp(path);
  if (fd >= 0) {
    unlink(path);
    AttachDataFile(fd);
    WriteEventRecord("$STARTED", 'X');
  }
  FeedWalk(w, 0, fixes, [&](int i, double e, double n, double d) {
    if (Fix().MapStarted == 0) {
      Fix().MapOrigin = {e, n};
      Fix().TrackExtent = {e, e, n, n};
      Fix().MapStarted = 1;
    }
    // The readings of the interval that ends at this fix, recorded and binned.
    ReadingBinState& b = Bins();
    for (int k = 0; k < w.readingsPerFix; ++k) {
      const double value = WalkReading(w, i > 0 ? i - 1 : 0, k);
      char record[16];
      std::snprintf(record, sizeof record, "T$%05d", -int(value * 10));
      WriteReadingRecord(record, 0);
      b.ReadingBins[0][k] = ColourIndexOf(value);
    }
    b.LastBinBuffer = 0;
    b.LastBinCount = w.readingsPerFix - 1;
    b.BinsReady = 1;
    UpdateMapPosition(pane, Logging, n, e, d);
  });
}

}  // namespace

const char kUsageText[] =
    "usage: map-shot OUT_PREFIX [FIXES]\n"
    "Draws a synthetic survey of FIXES positions (default 1400) into the map and writes the pane of each view\n"
    "as OUT_PREFIX-*.png.\n"
    "\n"
    "  --help      this text\n"
    "  --version   the version\n";

int main(int argc, char** argv) {
  if (auto code = AnswerHelpOrVersion(argc, argv, "map-shot", kUsageText)) return *code;
  for (int i = 1; i < argc; ++i) {
    if (LooksLikeOption(argv[i])) {
      ReportUsageError("map-shot", std::string("unknown option ") + argv[i]);
      return 2;
    }
  }
  if (argc < 2 || argc > 3) {
    ReportUsageError("map-shot", argc < 2 ? "no OUT_PREFIX given" : "too many arguments");
    return 2;
  }
  const std::string prefix = argv[1];
  const int fixes = argc > 2 ? std::atoi(argv[2]) : 1400;
  SurveyWalk w;
  w.lineLength = 100;
  Canvas pane;
  struct Shot {
    const char* name;
    int colourView, positionSize;
  } shots[] = {{"positions", 0, 2}, {"colour", 1, 4}};
  for (const Shot& s : shots) {
    Survey(pane, w, fixes, s.colourView, s.positionSize);
    if (!WritePng(pane, prefix + "_" + s.name + "_live.png")) return 1;
    Sess().ReviewMode = true;
    MapNavigate(pane, kMapFitAll);
    if (!WritePng(pane, prefix + "_" + s.name + "_fit.png")) return 1;
    std::printf("%s: %zu pages, %zu tiles, %.1f MB\n", s.name, MapPages().PageCount(), MapPages().TileCount(),
                MapPages().Bytes() / 1e6);
    CloseDataFile();
  }
  return 0;
}
