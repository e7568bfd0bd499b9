#pragma once
// Drawing of the track at each fix: the live view following the position, the sensor swath placed from the
// antenna offsets (directly from the travel direction, or along the recorded track when the sensor trails the
// antenna), its corner records, and the position marks or colour image drawn into the track layers.
#include "gps/fix_state.h"
#include "map/map_frame.h"

namespace obrix {

inline constexpr int kTrackHistorySize = 41;

struct TrackEntry {
  double e = 0.0, n = 0.0, cum = 0.0;  // position and distance along the track from entry 0
};

struct SwathTrack {
  int SwathMethod = 0;  // 1 track history (sensor behind), 0 / -1 direct (on or ahead of the antenna)
  int SwathState = 0;   // 0 no swath point yet, 1 one point, 2 or 3 running
  MapPoint PrevFixPoint;
  EdgePx PrevEdge;
  TrackEntry TrackHistory[kTrackHistorySize];
  int HistoryCount = 0;
  double TrackLength = 0.0;
};

SwathTrack& Swath();
void ResetSwathTrack();
// SwathMethod from the sign of the along offset in use.
void ChooseSwathMethod();
// Start of logging: SwathState and HistoryCount to 0.
void ResetSwathForLogging();

// The along and lateral geometry in map units (offsets are kept in metres).
double AlongOffsetMapUnits();

// The two ends of the swath edge at sensor point (e, n) for the unit travel direction (ux, uy), in map units.
struct EdgeUnits {
  double leftE, leftN, rightE, rightN;
};
EdgeUnits SwathEdgeAt(double e, double n, double ux, double uy);

// Handles one accepted fix (window thread). `pane` is the map pane's canvas. Returns the box of pane pixels that
// may have changed.
Rect UpdateMapPosition(Canvas& pane, int loggingState, double northing, double easting, double distance);

// Primitives drawing into the track layers (world pixels).
void DrawSegmentAcrossPages(Point a, Point b, const Pen& pen);
void DrawDotAcrossPages(int x, int y, int radius, const Pen& pen, const Brush& brush);
void DrawEdgeMark(const EdgePx& edge);
void DrawEdgeBar(const EdgePx& edge);
// The colour image between the previous edge and the current one from the bin row `bins` (its entries
// 0..lastBinCount are spread along the way); nothing unless `ready`, nor for a quadrilateral spanning more than
// 16 pages across or along (a position jump).
void FillColourSwath(const EdgePx& current, const EdgePx& previous, const int* bins, int lastBinCount, bool ready);
// The same with the live bins (LastBinBuffer, LastBinCount, BinsReady).
void FillColourSwath(const EdgePx& current, const EdgePx& previous);

}  // namespace obrix
