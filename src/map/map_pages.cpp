#include "map/map_pages.h"

#include <algorithm>
#include <array>

#include "gps/fix_state.h"
#include "map/map_grid.h"
#include "map/map_hooks.h"
#include "map/map_palette.h"
#include "map/map_track.h"
#include "map/map_view_state.h"
#include "settings/settings.h"
#include "state/palette.h"
#include "state/session.h"

namespace obrix {
namespace {

PageStore g_pages;
MapHooks g_hooks;

// Base images (white, grid, base ink) of the pages composed last, so that a fix does not redraw the grid of
// the four pages it shows.
struct BaseImage {
  int col = -1, row = -1, w = 0, h = 0;
  uint32_t generation = 0;
  GridParams grid;
  uint64_t lastUse = 0;
  Canvas image;
};
constexpr int kCachedImages = 8;
std::array<BaseImage, kCachedImages> g_images;
uint64_t g_useClock = 0;

bool SameGrid(const GridParams& a, const GridParams& b) {
  return a.GridKind == b.GridKind && a.LinesSlope == b.LinesSlope && a.GridSpacingPx == b.GridSpacingPx;
}

void SyncPageSize() { g_pages.SetPageSize(PageWidth(), PageHeight()); }

const Canvas& BaseImageOf(int col, int row) {
  const int w = g_pages.width(), h = g_pages.height();
  const uint32_t generation = g_pages.BaseGeneration(col, row);
  const GridParams& grid = Grid();
  BaseImage* slot = &g_images[0];
  for (BaseImage& e : g_images) {
    if (e.col == col && e.row == row && e.w == w && e.h == h && e.generation == generation &&
        SameGrid(e.grid, grid)) {
      e.lastUse = ++g_useClock;
      return e.image;
    }
    if (e.lastUse < slot->lastUse) slot = &e;
  }
  slot->col = col;
  slot->row = row;
  slot->w = w;
  slot->h = h;
  slot->generation = generation;
  slot->grid = grid;
  slot->lastUse = ++g_useClock;
  slot->image.Resize(w, h, kWhite);
  DrawPageGridLines(slot->image, col, row, w, h, grid, SolidPen(1, kGridGrey));
  const MapPalette& palette = MapColours();
  for (int ty = 0; ty < g_pages.tilesDown(); ++ty) {
    for (int tx = 0; tx < g_pages.tilesAcross(); ++tx) {
      const uint8_t* tile = g_pages.Tile(col, row, MapLayer::Base, tx, ty);
      if (tile == nullptr) continue;
      for (int y = ty * kTileSide; y < std::min(h, (ty + 1) * kTileSide); ++y) {
        uint32_t* d = slot->image.row(y);
        const uint8_t* s = tile + (y - ty * kTileSide) * kTileSide - tx * kTileSide;
        for (int x = tx * kTileSide; x < std::min(w, (tx + 1) * kTileSide); ++x) {
          if (s[x] != 0) d[x] = palette.PixelAt(s[x]);
        }
      }
    }
  }
  return slot->image;
}

}  // namespace

PageStore& MapPages() { return g_pages; }
MapHooks& MapScreenHooks() { return g_hooks; }
void ResetMapHooks() { g_hooks = MapHooks{}; }

void TouchPage(int col, int row) {
  SyncPageSize();
  if (PageInTable(col, row)) WidenUsedPages(col, row);
}

PagePainter SelectPageLayer(int col, int row, MapLayer layer) {
  TouchPage(col, row);
  return PagePainter(g_pages, MapColours(), col, row, layer);
}

void ClearMapPane(Canvas& pane) { pane.FillRect(Rect{0, 0, PageWidth(), PageHeight()}, kWhite); }

void ComposePage(Canvas& pane, int x, int y, int col, int row, bool withTrack) {
  const int side = Drv().MapPaneWidth;
  if (!PageInTable(col, row)) {
    pane.FillRect(Rect{x, y, x + g_pages.width(), y + g_pages.height()}, kWhite);
    return;
  }
  TouchPage(col, row);
  pane.BitBlt(x, y, side, side, BaseImageOf(col, row), 0, 0);
  if (!withTrack) return;
  const MapPalette& palette = MapColours();
  const int w = g_pages.width(), h = g_pages.height();
  for (int ty = 0; ty < g_pages.tilesDown(); ++ty) {
    const int y0 = std::max({ty * kTileSide, -y, 0}), y1 = std::min({(ty + 1) * kTileSide, h, pane.height() - y});
    if (y0 >= y1) continue;
    for (int tx = 0; tx < g_pages.tilesAcross(); ++tx) {
      const uint8_t* tile = g_pages.Tile(col, row, MapLayer::Track, tx, ty);
      if (tile == nullptr) continue;
      const int x0 = std::max({tx * kTileSide, -x, 0}), x1 = std::min({(tx + 1) * kTileSide, w, pane.width() - x});
      for (int ly = y0; ly < y1; ++ly) {
        uint32_t* d = pane.row(y + ly) + x;
        const uint8_t* s = tile + (ly - ty * kTileSide) * kTileSide - tx * kTileSide;
        for (int lx = x0; lx < x1; ++lx) {
          if (s[lx] != 0) d[lx] &= palette.PixelAt(s[lx]);
        }
      }
    }
  }
}

void ShowView(Canvas& pane, const MapView& v) {
  SyncPageSize();
  const int w = g_pages.width(), h = g_pages.height();
  ComposePage(pane, -v.offsetX, -v.offsetY, v.pageCol, v.pageRow);
  ComposePage(pane, w - v.offsetX, -v.offsetY, v.pageCol + 1, v.pageRow);
  ComposePage(pane, -v.offsetX, h - v.offsetY, v.pageCol, v.pageRow - 1);
  ComposePage(pane, w - v.offsetX, h - v.offsetY, v.pageCol + 1, v.pageRow - 1);
}

void RebuildPages(int mode) {
  SyncPageSize();
  if (mode == 0 || mode == 2) g_pages.ClearLayer(MapLayer::Base);
  if (mode == 1 || mode == 2) g_pages.ClearLayer(MapLayer::Track);
}

void ResetPages() {
  g_pages.Clear();
  MapColours() = MapPalette();
  for (BaseImage& e : g_images) e = BaseImage{};
  MapFrame& f = Frame();
  f.UsedPages = {f.LiveView.pageCol, f.LiveView.pageCol, f.LiveView.pageRow, f.LiveView.pageRow};
}

void ResetMapFrame() {
  MapFrame& f = Frame();
  f.UsedPages = {0, kPageCount - 1, 0, kPageCount - 1};
  ResetPages();
  f.PageLimitLow = kPageLimitLow;
  f.PageLimitHigh = kPageLimitHigh;
  UpdatePixelsPerUnit();
  MapViewState& m = MapState();
  m.SavedMapSize = Config().mapSize;
  m.SavedPixelsPerUnit = m.PixelsPerUnit;
  f.MapInitialised = 0;
  f.RecentreAtNextFix = 0;
  Sess().ReviewMode = false;
  Fix().MapStarted = 0;
  const int side = Drv().MapPaneWidth;
  f.ViewBounds = {0, side - 1, 0, side - 1};
  SyncPageSize();
  UpdateGridSpacing();
  ChooseSwathMethod();
}

void DrawCursor(Canvas& pane, int x, int y) {
  const int s = Drv().CursorHalfSize;
  pane.SelectPen(Pens().CursorPen);
  pane.MoveTo(x - s, y);
  pane.LineTo(x + s + 1, y);
  pane.MoveTo(x, y - s);
  pane.LineTo(x, y + s + 1);
}

}  // namespace obrix
