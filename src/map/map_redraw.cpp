#include "map/map_redraw.h"

#include <algorithm>
#include <cstdio>
#include <string_view>

#include "datafile/data_file.h"
#include "datafile/record_reader.h"
#include "em38/em38_record.h"
#include "gps/fix_state.h"
#include "gps/reading_bins.h"
#include "map/busy_ticker.h"
#include "map/map_frame.h"
#include "map/map_hooks.h"
#include "map/map_track.h"
#include "platform/message_box.h"
#include "settings/settings.h"
#include "state/colour_scale.h"
#include "state/palette.h"
#include "state/session.h"

namespace obrix {
namespace {

constexpr int kStartSearchRecords = 300;

// Index of the first record to draw: the one after the first "X$START" within the first 300.
int64_t FirstDrawnRecord(RecordBlockReader& reader) {
  DataRecord r;
  reader.Seek(0);
  for (int64_t i = 0; i < kStartSearchRecords && reader.Next(r); ++i) {
    if (r.text().find("X$START") != std::string_view::npos) return i + 1;
  }
  return kStartSearchRecords;
}

bool StopsCollecting(const DataRecord& r) {
  const char k = r.kind();
  if (k == 'C' || k == 'L' || k == 'S' || (k >= 'a' && k <= 'z')) return true;
  if (k != 'X') return false;
  const std::string_view text = r.field(1, 3);
  return text == "$PA" || text == " GP";
}

}  // namespace

void RedrawMapFromFile(int fd) {
  if (fd < 0) return;
  RecordBlockReader reader(fd);
  reader.Seek(FirstDrawnRecord(reader));
  BusyTicker busy;
  ReadingBinState& bins = Bins();
  bins.LastBinBuffer = 0;
  bins.BinsReady = 1;
  const bool colourView = Config().mapColourView >= 1;
  const ColourScale scale = CurrentColourScale();
  const double step = ColourStep(scale);
  const int channel = Sess().SelectedChannel;

  double set[8] = {};  // values of sub-kinds 'a'..'h'
  EdgePx previous, current;
  bool collecting = false;
  int count = 0;
  DataRecord r;
  while (reader.Next(r)) {
    busy.Tick();
    const char kind = r.kind();
    if (kind == '{') {
      const char sub = SwathSubKind(r);
      if (sub == '0') {
        collecting = true;
        count = 0;
        continue;
      }
      if (sub < 'a' || sub > 'h') continue;
      set[sub - 'a'] = SwathValue(r);
      if (!colourView) {
        if (sub == 'd' || sub == 'h') {
          const int b = sub == 'd' ? 0 : 4;
          DrawEdgeMark(WorldToPixels(set[b], set[b + 1], set[b + 2], set[b + 3]));
        }
      } else if (sub == 'd') {
        previous = WorldToPixels(set[0], set[1], set[2], set[3]);
      } else if (sub == 'h') {
        current = WorldToPixels(set[4], set[5], set[6], set[7]);
        // An interval without readings stays unpainted, as in the live drawing.
        if (count > 0) FillColourSwath(current, previous, bins.ReadingBins[0], count, true);
        previous = current;
        count = 0;
      }
      continue;
    }
    if (!colourView) continue;
    if (kind == 'T') {
      if (!collecting || count >= kReadingBinSize) continue;
      const Em38Reading reading = ParseEm38Record(InstrumentField(r));
      bins.ReadingBins[0][count++] = reading.channel == channel ? ColourIndexOf(reading.value, scale, step)
                                                               : kOtherChannelColour;
      continue;
    }
    if (StopsCollecting(r)) collecting = false;
  }
  bins.LastBinCount = count;
  bins.BinsReady = 0;
}

void RedrawMapFromData() { RedrawMapFromFile(DataFile().DataFileHandle.load()); }

StoredTrackCheck CheckStoredTrackFitsFile(int fd) {
  StoredTrackCheck out;
  FixState& f = Fix();
  const MapPoint o = f.MapOrigin;
  TrackExtentBox& x = f.TrackExtent;
  x = {o.easting, o.easting, o.northing, o.northing};
  if (fd >= 0) {
    RecordBlockReader reader(fd);
    BusyTicker busy;
    DataRecord r;
    while (reader.Next(r)) {
      busy.Tick();
      if (r.kind() != '{') continue;
      const char sub = SwathSubKind(r);
      if (sub < 'a' || sub > 'h') continue;
      const double v = SwathValue(r);
      if ((sub - 'a') % 2 == 0) {
        x.minEasting = std::min(x.minEasting, v);
        x.maxEasting = std::max(x.maxEasting, v);
      } else {
        x.minNorthing = std::min(x.minNorthing, v);
        x.maxNorthing = std::max(x.maxNorthing, v);
      }
      if (sub == 'd' || sub == 'h') ++out.positions;
    }
  }
  const MapFrame& frame = Frame();
  const PagePixel sw = PixelToPage(WorldPixel(x.minEasting, x.minNorthing));
  const PagePixel ne = PixelToPage(WorldPixel(x.maxEasting, x.maxNorthing));
  if (sw.col < frame.PageLimitLow || sw.row < frame.PageLimitLow || ne.col > frame.PageLimitHigh ||
      ne.row > frame.PageLimitHigh) {
    out.message = {kMessageOk, "WARNING",
                   "Map Size too small to accommodate the data file.\r\n"
                   "Please increase map size in Map Size option\r\nthen select the file again"};
    return out;
  }
  if (out.positions >= f.GpsPositionLimit) {
    out.limitReached = true;
    out.message = {kMessageOk, "INFORMATION", "Number of GPS Positions in the file has reached its maximum"};
    return out;
  }
  char text[96];
  std::snprintf(text, sizeof text, "%s %ld\r\n", "Total Number of GPS Positions:      ", out.positions);
  out.message = {kMessageOk, "INFORMATION", text};
  f.GpsPositionCount = int(std::min<long>(out.positions, f.GpsPositionLimit));
  out.fits = 1;
  return out;
}

StoredTrackCheck CheckStoredTrackFits() { return CheckStoredTrackFitsFile(DataFile().DataFileHandle.load()); }

}  // namespace obrix
