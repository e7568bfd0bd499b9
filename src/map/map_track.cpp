#include "map/map_track.h"

#include <algorithm>
#include <cmath>

#include "datafile/writers.h"
#include "gps/travel_direction.h"
#include "map/map_hooks.h"
#include "map/map_pages.h"
#include "settings/settings.h"
#include "state/session.h"

namespace obrix {
namespace {

SwathTrack g_swath;
constexpr char kSwathKind = '{';

EdgePx ToPixels(const EdgeUnits& e) { return WorldToPixels(e.leftE, e.leftN, e.rightE, e.rightN); }

void WriteEdge(int set, const EdgeUnits& e) { WriteSwathRecord(kSwathKind, set, e.leftE, e.leftN, e.rightE, e.rightN); }

// Draws edges (previous, current): the colour image between them, or the marks (bars) of the previous edge when
// given and of the current one. Then the current edge and fix become the previous ones.
void DrawEdges(const EdgePx* previous, const EdgePx& current, double e, double n) {
  if (Config().mapColourView >= 1) {
    FillColourSwath(current, previous ? *previous : g_swath.PrevEdge);
  } else if (Config().positionSize >= 4) {
    if (previous) DrawEdgeBar(*previous);
    DrawEdgeBar(current);
  } else {
    if (previous) DrawEdgeMark(*previous);
    DrawEdgeMark(current);
  }
  g_swath.PrevEdge = current;
  g_swath.PrevFixPoint = {e, n};
}

// Drops the entries before `first`, re-basing the distances on the new entry 0.
void DropHistoryBefore(int first) {
  SwathTrack& s = g_swath;
  if (first <= 0 || first >= s.HistoryCount) return;
  const double base = s.TrackHistory[first].cum;
  for (int i = first; i < s.HistoryCount; ++i) {
    s.TrackHistory[i - first] = s.TrackHistory[i];
    s.TrackHistory[i - first].cum -= base;
  }
  s.HistoryCount -= first;
  s.TrackLength = s.TrackHistory[s.HistoryCount - 1].cum;
}

void DirectStep(double e, double n) {
  SwathTrack& s = g_swath;
  const double along = AlongOffsetMapUnits();
  if (s.SwathState == 0) {
    s.PrevFixPoint = {e, n};
    WriteSwathRecord(kSwathKind, 0, 0, 0, 0, 0);
    s.SwathState = 1;
    return;
  }
  const TravelDirection u = DirectionOfTravel(s.PrevFixPoint.easting, s.PrevFixPoint.northing, e, n);
  if (!u.valid) return;
  const EdgeUnits current = SwathEdgeAt(e - along * u.x, n - along * u.y, u.x, u.y);
  if (s.SwathState == 1) {
    s.SwathState = 2;
    const EdgeUnits previous = SwathEdgeAt(s.PrevFixPoint.easting - along * u.x,
                                           s.PrevFixPoint.northing - along * u.y, u.x, u.y);
    WriteEdge(1, previous);
    WriteEdge(2, current);
    const EdgePx prevPx = ToPixels(previous);
    DrawEdges(&prevPx, ToPixels(current), e, n);
    return;
  }
  s.SwathState = 3;
  WriteEdge(2, current);
  DrawEdges(nullptr, ToPixels(current), e, n);
}

void HistoryStep(double e, double n) {
  SwathTrack& s = g_swath;
  const double along = AlongOffsetMapUnits();
  if (s.HistoryCount <= 0) {
    s.TrackHistory[0] = {e, n, 0.0};
    s.HistoryCount = 1;
    s.TrackLength = 0.0;
    WriteSwathRecord(kSwathKind, 0, 0, 0, 0, 0);
    return;
  }
  const TrackEntry& last = s.TrackHistory[s.HistoryCount - 1];
  const double cum = last.cum + std::hypot(e - last.e, n - last.n);
  if (s.HistoryCount == 1) {
    const TrackEntry p = s.TrackHistory[0];
    const TravelDirection u = DirectionOfTravel(p.e, p.n, e, n);
    if (!u.valid) return;
    s.TrackHistory[1] = {e, n, cum};
    s.HistoryCount = 2;
    s.TrackLength = cum;
    s.SwathState = 2;
    const EdgeUnits previous = SwathEdgeAt(p.e - along * u.x, p.n - along * u.y, u.x, u.y);
    const EdgeUnits current = SwathEdgeAt(e - along * u.x, n - along * u.y, u.x, u.y);
    WriteEdge(1, previous);
    WriteEdge(2, current);
    const EdgePx prevPx = ToPixels(previous);
    DrawEdges(&prevPx, ToPixels(current), e, n);
    return;
  }
  // 1-2. Append, then keep the newest 30 when the table is full.
  s.TrackHistory[s.HistoryCount] = {e, n, cum};
  s.HistoryCount += 1;
  s.TrackLength = cum;
  if (s.HistoryCount > kTrackHistorySize - 1) DropHistoryBefore(11);

  double sensorE, sensorN;
  TravelDirection u;
  if (along > s.TrackLength) {
    // 3. The recorded track is too short: extend it backwards beyond its first entry.
    const TrackEntry& q0 = s.TrackHistory[0];
    const TrackEntry& q1 = s.TrackHistory[1];
    u = DirectionOfTravel(q0.e, q0.n, q1.e, q1.n);
    const double back = along - s.TrackLength;
    sensorE = q0.e - back * u.x;
    sensorN = q0.n - back * u.y;
  } else {
    // 4. On the recorded track, `along` behind the fix.
    int i = 1;
    while (i < s.HistoryCount - 1 && s.TrackLength - s.TrackHistory[i].cum > along) ++i;
    const TrackEntry& a = s.TrackHistory[i - 1];
    const TrackEntry& b = s.TrackHistory[i];
    const double rest = along - (s.TrackLength - b.cum);
    const double v = std::hypot(b.e - a.e, b.n - a.n);
    u = DirectionOfTravel(a.e, a.n, b.e, b.n);
    sensorE = a.e + (v - rest) * u.x;
    sensorN = a.n + (v - rest) * u.y;
    s.SwathState = 2;
    if (i >= 12) DropHistoryBefore(i - 1);
  }
  // The edge lies across the track at the sensor point.
  if (!u.valid) return;
  const EdgeUnits current = SwathEdgeAt(sensorE, sensorN, u.x, u.y);
  WriteEdge(2, current);
  DrawEdges(nullptr, ToPixels(current), e, n);
}

void CreateBlock(const MapView& v) {
  TouchPage(v.pageCol, v.pageRow);
  TouchPage(v.pageCol + 1, v.pageRow);
  TouchPage(v.pageCol, v.pageRow - 1);
  TouchPage(v.pageCol + 1, v.pageRow - 1);
}

void FirstPosition(Canvas& pane, double e, double n) {
  MapFrame& f = Frame();
  const int w = PageWidth(), h = PageHeight();
  f.ViewBounds = {-w / 2 + 1, w / 2, -h / 2 + 1, h / 2};
  f.LiveView = {kOriginPage, kOriginPage, w / 2, h / 2};
  ClearMapPane(pane);
  const Point p = WorldPixel(e, n);
  f.CursorPos = {p.x - f.ViewBounds.minX, f.ViewBounds.maxY - p.y - 1};
  f.LastFixPx = p;
  f.UsedPages = {kOriginPage, kOriginPage + 1, kOriginPage - 1, kOriginPage};
  CreateBlock(f.LiveView);
  ShowView(pane, f.LiveView);
  DrawCursor(pane, f.CursorPos.x, f.CursorPos.y);
  f.MapInitialised = 1;
}

// The live view follows a fix that entered the cursor band; returns true when the block changed.
bool FollowPosition(Point p, const PagePixel& page) {
  MapFrame& f = Frame();
  MapView& v = f.LiveView;
  ViewRect& b = f.ViewBounds;
  const int w = PageWidth(), h = PageHeight();
  const int band = Drv().CursorBandPx;
  const bool nearX = p.x <= f.LastFixPx.x ? p.x < b.minX + band : p.x > b.maxX - band;
  const bool nearY = p.y <= f.LastFixPx.y ? p.y < b.minY + band : p.y > b.maxY - band;
  if (!nearX && !nearY) return false;
  const int dX = p.x - f.LastFixPx.x, dY = p.y - f.LastFixPx.y;
  b.minX += dX;
  b.maxX += dX;
  b.minY += dY;
  b.maxY += dY;
  v.offsetX += dX;
  v.offsetY -= dY;
  bool moved = false;
  if (v.pageRow >= page.row && page.row < v.pageRow - 1) {
    v.pageRow = page.row + 1;
    v.offsetY -= h;
    moved = true;
  }
  if (v.pageRow < page.row) {
    v.pageRow = page.row;
    v.offsetY += h;
    moved = true;
  }
  if (v.pageCol + 1 < page.col) {
    v.pageCol = page.col - 1;
    v.offsetX -= w;
    moved = true;
  }
  if (v.pageCol > page.col) {
    v.pageCol = page.col;
    v.offsetX += w;
    moved = true;
  }
  if (!moved) {
    if (v.offsetY < 0) { v.pageRow += 1; v.offsetY += h; moved = true; }
    else if (v.offsetY > h) { v.pageRow -= 1; v.offsetY -= h; moved = true; }
    if (v.offsetX < 0) { v.pageCol -= 1; v.offsetX += w; moved = true; }
    else if (v.offsetX > w) { v.pageCol += 1; v.offsetX -= w; moved = true; }
  }
  return moved;
}

// After a map size change: the live view re-placed so that the fix shows at the current cursor position.
void Recentre(Point p, const PagePixel& page) {
  MapFrame& f = Frame();
  const int w = PageWidth(), h = PageHeight();
  const int cx = f.CursorPos.x, cy = f.CursorPos.y;
  ViewRect& b = f.ViewBounds;
  b.minX = p.x - cx;
  b.maxX = b.minX + w;
  b.maxY = p.y + cy;
  b.minY = b.maxY - h;
  int ox = cx - page.x, oy = cy - page.y;
  MapView& v = f.LiveView;
  if (ox < 0) {
    v.pageCol = page.col;
  } else {
    v.pageCol = page.col - 1;
    ox -= w;
  }
  if (oy < 0) {
    v.pageRow = page.row;
  } else {
    v.pageRow = page.row + 1;
    oy -= h;
  }
  v.offsetX = -ox;
  v.offsetY = -oy;
  f.RecentreAtNextFix = 0;
}

}  // namespace

SwathTrack& Swath() { return g_swath; }
void ResetSwathTrack() { g_swath = SwathTrack{}; }

void ChooseSwathMethod() {
  const double along = Drv().AlongOffsetInUse;
  g_swath.SwathMethod = along > 0 ? 1 : (along < 0 ? -1 : 0);
}

void ResetSwathForLogging() {
  g_swath.SwathState = 0;
  g_swath.HistoryCount = 0;
}

double AlongOffsetMapUnits() { return MetresToMapUnits(Drv().AlongOffsetInUse, Config().mapUnits); }

EdgeUnits SwathEdgeAt(double e, double n, double ux, double uy) {
  const double left = Drv().SwathLeft, right = Drv().SwathRight;
  return {e - left * uy, n + left * ux, e + right * uy, n - right * ux};
}

Rect UpdateMapPosition(Canvas& pane, int loggingState, double northing, double easting, double distance) {
  MapFrame& f = Frame();
  TrackExtentBox& x = Fix().TrackExtent;
  if (f.MapInitialised == 0) {
    x.minEasting = std::min(x.minEasting, easting);
    x.maxEasting = std::max(x.maxEasting, easting);
    x.minNorthing = std::min(x.minNorthing, northing);
    x.maxNorthing = std::max(x.maxNorthing, northing);
    FirstPosition(pane, easting, northing);
    return Sess().MapVisible ? Rect{0, 0, pane.width(), pane.height()} : Rect{};
  }
  // 1. The fix in world pixels and its page.
  const Point p = WorldPixel(easting, northing);
  x.minEasting = std::min(x.minEasting, easting);
  x.maxEasting = std::max(x.maxEasting, easting);
  x.minNorthing = std::min(x.minNorthing, northing);
  x.maxNorthing = std::max(x.maxNorthing, northing);
  const PagePixel page = PixelToPage(p);

  // 2. The view follows the position.
  bool blockChanged = false;
  if (f.RecentreAtNextFix == 1) {
    Recentre(p, page);
    blockChanged = true;
  } else {
    blockChanged = FollowPosition(p, page);
  }
  if (blockChanged) CreateBlock(f.LiveView);

  // 3-4. Cursor, then the swath while logging and moving.
  f.CursorPos = {p.x - f.ViewBounds.minX, f.ViewBounds.maxY - p.y - 1};
  if (loggingState == Logging && distance > 0) {
    if (g_swath.SwathMethod == 1) HistoryStep(easting, northing);
    else DirectStep(easting, northing);
  }

  // 5. The pane.
  Rect changed;
  if (Sess().MapVisible) {
    changed = ShowViewChanges(pane, f.LiveView);
    DrawCursor(pane, f.CursorPos.x, f.CursorPos.y);
    const Rect cursor = CursorBox(f.CursorPos.x, f.CursorPos.y);
    if (changed.left >= changed.right || changed.top >= changed.bottom) {
      changed = cursor;
    } else {
      changed = {std::min(changed.left, cursor.left), std::min(changed.top, cursor.top),
                 std::max(changed.right, cursor.right), std::max(changed.bottom, cursor.bottom)};
    }
  }

  // 6. Overflow: the used pages, or the fix itself, beyond the page limits.
  const bool beyond = BeyondPageLimits(f.UsedPages, f.PageLimitLow, f.PageLimitHigh) ||
                      page.col < f.PageLimitLow || page.col > f.PageLimitHigh || page.row < f.PageLimitLow ||
                      page.row > f.PageLimitHigh;
  if (beyond && Sess().MapOverflowState == MapOverflow::None) {
    Sess().MapOverflowState = MapOverflow::AtPageEdge;
    if (MapScreenHooks().MapLimitReached) MapScreenHooks().MapLimitReached();
  }

  // 7.
  f.LastFixPx = p;
  return changed;
}

}  // namespace obrix
