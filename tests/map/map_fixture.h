#pragma once
// A map of known size for the map tests: page side 300 pixels, 10 pixels per map unit, origin (1000, 5000),
// fresh pages, frame, swath and bins, and a data file to collect the swath records.
#include <fcntl.h>
#include <unistd.h>

#include <cmath>
#include <vector>

#include "datafile/data_file.h"
#include "datafile/record_reader.h"
#include "gps/fix_state.h"
#include "gps/reading_bins.h"
#include "map/map_frame.h"
#include "map/map_grid.h"
#include "map/map_hooks.h"
#include "map/map_pages.h"
#include "map/map_palette.h"
#include "map/map_track.h"
#include "map/map_view_state.h"
#include "platform/canvas.h"
#include "settings/settings.h"
#include "state/palette.h"
#include "state/session.h"
#include "test_support.h"

namespace obrix::test {

inline constexpr int kSide = 300;
inline constexpr double kOriginE = 1000.0, kOriginN = 5000.0;

class MapFixture {
 public:
  MapFixture() {
    ResetSession();
    ResetFix();
    ResetBins();
    ResetMapViewState();
    ResetFrameState();
    ResetSwathTrack();
    ResetMapHooks();
    Drv().MapPaneWidth = kSide + 2;
    Config().mapSize = 30;  // 10 pixels per unit
    Config().gridStyle = 0;
    Config().gridInterval = 1000;  // no grid lines in the way unless a test asks for them
    Config().mapColourView = 0;
    Config().positionSize = 4;
    Config().swathWidthIndex = 3;  // 2 units
    Config().lateralOffset = 0;
    Drv().AlongOffsetInUse = 0;
    UpdateSwathEdges();
    CreateSharedPens();
    ResetMapFrame();
    Fix().MapOrigin = {kOriginE, kOriginN};
    Fix().TrackExtent = {kOriginE, kOriginE, kOriginN, kOriginN};
    Fix().MapStarted = 1;
    Sess().MapVisible = true;
    pane.Resize(kSide, kSide);
  }
  ~MapFixture() {
    CloseDataFile();
    ResetMapHooks();
  }

  void OpenFile() {
    const int fd = ::open(root.dir().file("survey.T38").c_str(), O_RDWR | O_CREAT | O_APPEND, 0644);
    AttachDataFile(fd);
  }
  // The swath records written so far as (sub-kind, value).
  std::vector<std::pair<char, double>> SwathRecords() const {
    std::vector<std::pair<char, double>> out;
    RecordReader reader(DataFile().DataFileHandle.load());
    DataRecord r;
    while (reader.Next(r)) {
      if (r.kind() == '{') out.emplace_back(SwathSubKind(r), SwathValue(r));
    }
    return out;
  }
  // The track-layer colour of a world pixel (white when not inked).
  static Colour TrackAt(Point world) {
    const PagePixel p = PixelToPage(world);
    return MapColours().ColourAt(MapPages().At(p.col, p.row, MapLayer::Track, p.x, p.y));
  }
  void Move(double dE, double dN, int logging = Logging) {
    const double e = lastE + dE, n = lastN + dN;
    UpdateMapPosition(pane, logging, n, e, std::hypot(dE, dN));
    lastE = e;
    lastN = n;
  }
  void First() {
    UpdateMapPosition(pane, Logging, kOriginN, kOriginE, 0.0);
    lastE = kOriginE;
    lastN = kOriginN;
  }

  DataRootFixture root;
  Canvas pane;
  double lastE = kOriginE, lastN = kOriginN;
};

}  // namespace obrix::test
