#include "background/bg_file_draw.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

#include "background/background_list.h"
#include "background/bg_draw.h"
#include "background/bg_record.h"
#include "map/busy_ticker.h"
#include "map/map_frame.h"
#include "platform/numbers.h"

namespace obrix {
namespace {

enum class ReadStatus { Ok, End, Bad };

ReadStatus ReadRecord(int fd, int64_t index, BgPoint& p) {
  char bytes[kBgRecordBytes];
  ssize_t n;
  do n = ::pread(fd, bytes, sizeof bytes, off_t(index) * kBgRecordBytes);
  while (n < 0 && errno == EINTR);
  if (n == 0) return ReadStatus::End;
  if (n != kBgRecordBytes || !ParseBgRecord(std::string_view(bytes, kBgRecordBytes), p)) return ReadStatus::Bad;
  return ReadStatus::Ok;
}

bool WithinMap(Point world) {
  const PagePixel page = PixelToPage(world);
  const MapFrame& f = Frame();
  return page.col >= f.PageLimitLow && page.col <= f.PageLimitHigh && page.row >= f.PageLimitLow &&
         page.row <= f.PageLimitHigh;
}

// Draws records 0..count-1 (count < 0: to the end of the file). `vertexPen` marks the line's points.
BgDrawOutcome DrawRecords(int fd, int64_t count, int style, int fileType, const Pen& vertexPen) {
  BgDrawOutcome out;
  const bool lines = BgStyleIsLine(style);
  const Pen linePen = BgPen(BgStyleOf(style).penWidth);
  bool previousValid = false;
  Point previous;
  BgPoint p;
  BusyTicker busy;
  for (int64_t i = 0; count < 0 || i < count; ++i) {
    busy.Tick();
    const ReadStatus s = ReadRecord(fd, i, p);
    if (s == ReadStatus::End && count < 0) break;
    if (s != ReadStatus::Ok) {
      out.readError = true;
      break;
    }
    if (p.IsBreak()) {
      previousValid = false;
      continue;
    }
    const Point world = WorldPixel(p.easting, p.northing);
    if (!WithinMap(world)) {
      ++out.invalid;
      previousValid = false;
      continue;
    }
    TrackExtentBox& x = out.extent;
    if (out.drawn++ == 0) x = {p.easting, p.easting, p.northing, p.northing};
    x.minEasting = std::min(x.minEasting, p.easting);
    x.maxEasting = std::max(x.maxEasting, p.easting);
    x.minNorthing = std::min(x.minNorthing, p.northing);
    x.maxNorthing = std::max(x.maxNorthing, p.northing);
    if (lines) {
      DrawBgVertex(world, vertexPen);
      if (previousValid) DrawBgSegment(previous, world, linePen);
      previous = world;
      previousValid = true;
    } else {
      DrawBgSymbol(world, style, fileType == 2 ? p.Label() : std::string_view{});
    }
  }
  return out;
}

}  // namespace

BgDrawOutcome DrawNewBackground(int temporaryFd, int recordCount, int positionsStyle, int fileType,
                                std::string_view displayName) {
  if (recordCount <= 0) {
    BgDrawOutcome out;
    out.title = "FILE ERROR";
    out.text = "Check background file structure.";
    return out;
  }
  const Pen vertexPen = BgPen(BgStyleOf(positionsStyle).penWidth);
  BgDrawOutcome out = DrawRecords(temporaryFd, recordCount, positionsStyle, fileType, vertexPen);
  if (out.readError) {
    out.title = "WARNING";
    out.text = FormatC(" %s%d\r\n %s\r\n %s", "Unexpected error B$", 1, "processing file:",
                       std::string(displayName).c_str());
  }
  if (out.drawn == 0) {
    // Nothing could be drawn: the file is not kept (a read error keeps its own message).
    out.result = 255;
    if (!out.readError) {
      out.title = "STOP";
      out.text = FormatC("%s\r\n", "All points in background file are invalid");
    }
    return out;
  }
  out.result = 1;
  if (out.invalid > 0 && !out.readError) {
    out.title = "WARNING";
    out.text = FormatC("%s %d\r\n%s %d\r\n", "Number of points in background file:", recordCount,
                       "Number of invalid points:", out.invalid);
  }
  return out;
}

void RedrawAllBackgrounds() {
  const BackgroundListState& b = Backgrounds();
  for (int i = 0; i < b.BackgroundCount && i < MaxBackgroundFiles; ++i) {
    const BackgroundEntry& e = b.BackgroundList[i];
    if (e.temporaryName.empty()) continue;
    const int fd = ::open(BgTemporaryPath(e.temporaryName).c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) continue;
    DrawRecords(fd, -1, e.positionsStyle, e.fileType, BgPen(1));
    ::close(fd);
  }
}

}  // namespace obrix
