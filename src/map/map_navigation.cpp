#include "map/map_navigation.h"

#include <algorithm>
#include <cmath>

#include "map/map_grid.h"
#include "map/map_hooks.h"
#include "map/map_pages.h"
#include "map/map_view_state.h"
#include "platform/numbers.h"
#include "platform/sound.h"
#include "settings/settings.h"
#include "settings/settings_file.h"
#include "state/session.h"

namespace obrix {
namespace {

constexpr double kMinGridInterval = 0.5;

void Call(const std::function<void()>& hook) {
  if (hook) hook();
}

void PleaseWait(Canvas& pane) {
  ClearMapPane(pane);
  if (Sess().MapVisible && MapScreenHooks().ShowPleaseWait) MapScreenHooks().ShowPleaseWait(pane);
}

void RedrawBackgroundIfAny() { Call(MapScreenHooks().RedrawBackgroundFiles); }

void NewScale(int mapSize) {
  Config().mapSize = std::max(1, mapSize);
  UpdatePixelsPerUnit();
  Call(MapScreenHooks().ShowMapSizeCaption);
}

MapMessage GridIntervalRaised() {
  return {"MESSAGEOK", "INFORMATION",
          "Grid Interval must be >= 0.5 of map unit. Program assumed minimum value."};
}

}  // namespace

int PanStep(int cursorBandPx) { return TruncToInt((kPanFactor + 1) * cursorBandPx * 0.1 - 0.5); }

int ZoomedMapSize(int old, bool zoomIn) {
  if (zoomIn) {
    int size = TruncToInt((1 - kZoomFactor) * old + 0.5);
    if (size == old) size = old - 1;
    return std::max(size, 1);
  }
  int size = TruncToInt((1 + kZoomFactor) * old + 0.5);
  if (size == old) size = old + 1;
  return std::max(size, 1);
}

int FitAllMapSize(double span, int cursorBandIndex) {
  return std::max(1, TruncToInt((span + 0.5) * (1 + (cursorBandIndex + 1) * 5 / 100.0) + 10));
}

MapView FitAllView(const TrackExtentBox& x, int w, int h) {
  const Point a = WorldPixel(x.minEasting, x.minNorthing);
  const Point b = WorldPixel(x.maxEasting, x.maxNorthing);
  const int marginX = (w - (b.x - a.x)) / 2, marginY = (h - (b.y - a.y)) / 2;
  return {kOriginPage, kOriginPage, w + a.x - marginX, h - (marginY + b.y)};
}

bool PanView(MapView& view, int code, int step, const PageRange& used, int w, int h) {
  switch (code) {
    case kMapPanWest: if (view.pageCol - 1 < used.colMin) return false; break;
    case kMapPanEast: if (view.pageCol + 2 > used.colMax) return false; break;
    case kMapPanNorth: if (view.pageRow + 1 > used.rowMax) return false; break;
    case kMapPanSouth: if (view.pageRow - 2 < used.rowMin) return false; break;
    default: return false;
  }
  MapView v = view;
  if (code == kMapPanWest) v.offsetX -= step;
  if (code == kMapPanEast) v.offsetX += step;
  if (code == kMapPanNorth) v.offsetY -= step;
  if (code == kMapPanSouth) v.offsetY += step;
  if (v.offsetX < 0) { v.pageCol -= 1; v.offsetX += w; }
  else if (v.offsetX > w) { v.pageCol += 1; v.offsetX -= w; }
  if (v.offsetY < 0) { v.pageRow += 1; v.offsetY += h; }
  else if (v.offsetY > h) { v.pageRow -= 1; v.offsetY -= h; }
  view = v;
  return true;
}

bool ExtentFitsPages(const TrackExtentBox& x) {
  const MapFrame& f = Frame();
  const PagePixel sw = PixelToPage(WorldPixel(x.minEasting, x.minNorthing));
  const PagePixel ne = PixelToPage(WorldPixel(x.maxEasting, x.maxNorthing));
  return !(sw.col < f.PageLimitLow || ne.col > f.PageLimitHigh || ne.row > f.PageLimitHigh ||
           sw.row < f.PageLimitLow);
}

void RerenderMap(Canvas& pane) {
  PleaseWait(pane);
  UpdateGridSpacing();
  RebuildPages(2);
  RedrawBackgroundIfAny();
  RedrawMapFromData();
}

void MapNavigate(Canvas& pane, int code) {
  MapFrame& f = Frame();
  const bool review = Sess().ReviewMode;
  const int w = PageWidth(), h = PageHeight();
  if (code >= kMapPanWest && code <= kMapPanSouth) {
    MapView& view = review ? f.ReviewView : f.LiveView;
    const int step = PanStep(Drv().CursorBandPx);
    if (!PanView(view, code, step, f.UsedPages, w, h)) return;
    if (!review) {
      const int dx = code == kMapPanWest ? -step : (code == kMapPanEast ? step : 0);
      const int dy = code == kMapPanNorth ? step : (code == kMapPanSouth ? -step : 0);
      f.ViewBounds.minX += dx;
      f.ViewBounds.maxX += dx;
      f.ViewBounds.minY += dy;
      f.ViewBounds.maxY += dy;
      f.LastFixPx.x += dx;
      f.LastFixPx.y += dy;
    }
    ClearMapPane(pane);
    ShowView(pane, view);
    return;
  }
  if (code == kMapZoomIn || code == kMapZoomOut) {
    NewScale(ZoomedMapSize(Config().mapSize, code == kMapZoomIn));
    ClearMapPane(pane);
    RerenderMap(pane);
    ShowView(pane, f.ReviewView);
    return;
  }
  if (code == kMapFitAll) {
    const TrackExtentBox& x = Fix().TrackExtent;
    NewScale(FitAllMapSize(std::max(x.maxEasting - x.minEasting, x.maxNorthing - x.minNorthing),
                           Config().cursorBandIndex));
    f.ReviewView = FitAllView(x, w, h);
    ClearMapPane(pane);
    RerenderMap(pane);
    ShowView(pane, f.ReviewView);
  }
}

std::vector<MapMessage> ApplyMapSizeChange(Canvas& pane) {
  std::vector<MapMessage> messages;
  MapViewState& m = MapState();
  Settings& s = Config();
  if (m.RedrawFlags == 0) {
    Call(MapScreenHooks().RefreshProfilePane);
    return messages;
  }
  const TrackExtentBox& x = Fix().TrackExtent;
  if (!ExtentFitsPages(x)) {
    m.PixelsPerUnit = m.SavedPixelsPerUnit;
    s.mapSize = m.SavedMapSize;
    s.gridInterval = m.SavedGridInterval;
    s.cursorBandIndex = m.SavedCursorBandIndex;
    Drv().CursorBandPx = m.SavedCursorBandPx;
    Sounds().PlayCue(kSoundRing);
    messages.push_back({"MESSAGEOK", "WARNING",
                        "Map Size too small\r\nPlease select Map Size option\r\nand increase the map size"});
  } else {
    Sess().MapOverflowState = MapOverflow::None;
  }
  if (s.gridInterval < kMinGridInterval) {
    s.gridInterval = kMinGridInterval;
    messages.push_back(GridIntervalRaised());
  }
  // The extent's pages at the scale now in force (the new one, or the saved one when refused).
  const PagePixel sw2 = PixelToPage(WorldPixel(x.minEasting, x.minNorthing));
  const PagePixel ne2 = PixelToPage(WorldPixel(x.maxEasting, x.maxNorthing));
  const auto inTable = [](int v) { return std::clamp(v, 0, kPageCount - 1); };
  WidenUsedPages(inTable(sw2.col), inTable(sw2.row));
  WidenUsedPages(inTable(ne2.col), inTable(ne2.row));
  SaveLoadSettings(Save);
  Call(MapScreenHooks().RepaintScreen);
  PleaseWait(pane);
  UpdateGridSpacing();
  if (m.RedrawFlags & kRedrawMapSize) {
    Frame().RecentreAtNextFix = 1;
    RebuildPages(2);
    Call(MapScreenHooks().RefreshProfilePane);
    RedrawBackgroundIfAny();
    RedrawMapFromData();
  } else {
    RebuildPages(0);
    RedrawBackgroundIfAny();
    Call(MapScreenHooks().RefreshProfilePane);
  }
  return messages;
}

std::vector<MapMessage> ApplyDisplayOptionsChange(Canvas& pane) {
  std::vector<MapMessage> messages;
  const int flags = MapState().RedrawFlags;
  if (flags <= 0) return messages;
  Settings& s = Config();
  if (s.gridInterval < kMinGridInterval) {
    s.gridInterval = kMinGridInterval;
    messages.push_back(GridIntervalRaised());
  }
  SaveLoadSettings(Save);
  Call(MapScreenHooks().RepaintScreen);
  if (flags & kRedrawMapSize) {
    Frame().RecentreAtNextFix = 1;
    UpdateGridSpacing();
    RebuildPages(2);
    Call(MapScreenHooks().RefreshProfilePane);
    RedrawBackgroundIfAny();
    RedrawMapFromData();
  }
  PleaseWait(pane);
  if (flags & (kRedrawGridStyle | kRedrawGridInterval | kRedrawLinesAngle)) {
    UpdateGridSpacing();
    RebuildPages(0);
    RedrawBackgroundIfAny();
  }
  if (((flags & (kRedrawPositionSize | kRedrawPositionColour)) && s.mapColourView == 0) ||
      (flags & kRedrawColourView)) {
    RebuildPages(1);
    RedrawMapFromData();
  }
  Call(MapScreenHooks().RefreshProfilePane);
  return messages;
}

void EnterReviewMap(Canvas& pane) {
  MapFrame& f = Frame();
  MapViewState& m = MapState();
  f.ReviewView = f.LiveView;
  m.SavedMapSize = Config().mapSize;
  m.SavedPixelsPerUnit = m.PixelsPerUnit;
  m.SavedColourView = Config().mapColourView;
  Sess().ReviewMode = true;
  Call(MapScreenHooks().RepaintScreen);
  ShowView(pane, f.LiveView);
}

void ExitReviewMap(Canvas& pane) {
  MapViewState& m = MapState();
  Sess().ReviewMode = false;
  Config().mapSize = m.SavedMapSize;
  m.PixelsPerUnit = m.SavedPixelsPerUnit;
  Config().mapColourView = m.SavedColourView;
  Call(MapScreenHooks().RepaintScreen);
  RerenderMap(pane);
  Call(MapScreenHooks().RefreshProfilePane);
}

}  // namespace obrix
