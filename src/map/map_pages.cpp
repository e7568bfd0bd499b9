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

// What the pane shows since the last ShowView: that view composed, cursors drawn over it since, and the track
// changes of the page store after it.
struct ShownView {
  bool valid = false;
  const Canvas* pane = nullptr;
  int paneWidth = 0, paneHeight = 0;
  int pageWidth = 0, pageHeight = 0;
  MapView view;
  GridParams grid;
  std::array<uint32_t, 4> baseGenerations{};
  Rect cursors;  // pane pixels the cursors drawn since may cover
};
ShownView g_shown;

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

void ClearMapPane(Canvas& pane) {
  g_shown.valid = false;
  pane.FillRect(Rect{0, 0, PageWidth(), PageHeight()}, kWhite);
}

namespace {

Rect Intersect(const Rect& a, const Rect& b) {
  return {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right), std::min(a.bottom, b.bottom)};
}
bool IsEmpty(const Rect& r) { return r.left >= r.right || r.top >= r.bottom; }
Rect Translated(const Rect& r, int dx, int dy) { return {r.left + dx, r.top + dy, r.right + dx, r.bottom + dy}; }
// The pane pixels the four pages of a view cover.
Rect CoveredBy(const MapView& v, int w, int h, const Rect& whole) {
  return Intersect(Rect{-v.offsetX, -v.offsetY, 2 * w - v.offsetX, 2 * h - v.offsetY}, whole);
}
Rect Union(const Rect& a, const Rect& b) {
  if (IsEmpty(a)) return b;
  if (IsEmpty(b)) return a;
  return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right), std::max(a.bottom, b.bottom)};
}

// The part of page (col, row), drawn at pane pixel (x, y), that lies in `clip` (pane pixels within the pane).
void ComposePagePart(Canvas& pane, int x, int y, int col, int row, bool withTrack, const Rect& clip) {
  const int w = g_pages.width(), h = g_pages.height();
  const Rect part = Intersect(Rect{x, y, x + w, y + h}, clip);
  if (!PageInTable(col, row)) {
    pane.FillRect(part, kWhite);
    return;
  }
  TouchPage(col, row);
  if (IsEmpty(part)) return;
  pane.BitBlt(part.left, part.top, part.right - part.left, part.bottom - part.top, BaseImageOf(col, row),
              part.left - x, part.top - y);
  if (!withTrack) return;
  const MapPalette& palette = MapColours();
  for (int ty = 0; ty < g_pages.tilesDown(); ++ty) {
    const int y0 = std::max(ty * kTileSide, part.top - y), y1 = std::min((ty + 1) * kTileSide, part.bottom - y);
    if (y0 >= y1) continue;
    for (int tx = 0; tx < g_pages.tilesAcross(); ++tx) {
      const uint8_t* tile = g_pages.Tile(col, row, MapLayer::Track, tx, ty);
      if (tile == nullptr) continue;
      const int x0 = std::max(tx * kTileSide, part.left - x), x1 = std::min((tx + 1) * kTileSide, part.right - x);
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

// The four pages of a view: page (pageCol + i, pageRow - j) at pane pixel (i W - offsetX, j H - offsetY).
void ComposeViewPart(Canvas& pane, const MapView& v, const Rect& clip) {
  const int w = g_pages.width(), h = g_pages.height();
  ComposePagePart(pane, -v.offsetX, -v.offsetY, v.pageCol, v.pageRow, true, clip);
  ComposePagePart(pane, w - v.offsetX, -v.offsetY, v.pageCol + 1, v.pageRow, true, clip);
  ComposePagePart(pane, -v.offsetX, h - v.offsetY, v.pageCol, v.pageRow - 1, true, clip);
  ComposePagePart(pane, w - v.offsetX, h - v.offsetY, v.pageCol + 1, v.pageRow - 1, true, clip);
}


std::array<uint32_t, 4> BaseGenerationsOf(const MapView& v) {
  return {g_pages.BaseGeneration(v.pageCol, v.pageRow), g_pages.BaseGeneration(v.pageCol + 1, v.pageRow),
          g_pages.BaseGeneration(v.pageCol, v.pageRow - 1), g_pages.BaseGeneration(v.pageCol + 1, v.pageRow - 1)};
}

}  // namespace

void ComposePage(Canvas& pane, int x, int y, int col, int row, bool withTrack) {
  g_shown.valid = false;
  ComposePagePart(pane, x, y, col, row, withTrack, Rect{0, 0, pane.width(), pane.height()});
}

void ShowView(Canvas& pane, const MapView& v) {
  SyncPageSize();
  ComposeViewPart(pane, v, Rect{0, 0, pane.width(), pane.height()});
  g_shown = ShownView{true, &pane, pane.width(), pane.height(), g_pages.width(), g_pages.height(), v, Grid(),
                      BaseGenerationsOf(v), Rect{}};
  g_pages.ForgetTrackChanges();
}

Rect ShowViewChanges(Canvas& pane, const MapView& v) {
  SyncPageSize();
  const ShownView& s = g_shown;
  const Rect whole{0, 0, pane.width(), pane.height()};
  const int w = g_pages.width(), h = g_pages.height();
  const bool sameFrame = s.valid && s.pane == &pane && s.paneWidth == pane.width() &&
                         s.paneHeight == pane.height() && s.pageWidth == w && s.pageHeight == h &&
                         SameGrid(s.grid, Grid()) && s.baseGenerations == BaseGenerationsOf(s.view) &&
                         g_pages.trackChangesKnown();
  // How far the pixels shown move in the pane (the view follows the position).
  const int64_t dx = int64_t(s.view.pageCol - v.pageCol) * w + s.view.offsetX - v.offsetX;
  const int64_t dy = int64_t(v.pageRow - s.view.pageRow) * h + s.view.offsetY - v.offsetY;
  if (!sameFrame || dx <= -pane.width() || dx >= pane.width() || dy <= -pane.height() || dy >= pane.height()) {
    ShowView(pane, v);
    return whole;
  }
  for (int i = 0; i < 2; ++i)
    for (int j = 0; j < 2; ++j) TouchPage(v.pageCol + i, v.pageRow - j);
  // Composed again: where the cursors were (moved with the view) and the track tiles changed since.
  Rect again = Intersect(Translated(s.cursors, int(dx), int(dy)), whole);
  for (const PageStore::TileRef& t : g_pages.trackChanges()) {
    const int i = t.col - v.pageCol, j = v.pageRow - t.row;
    if (i < 0 || i > 1 || j < 0 || j > 1) continue;
    const int left = i * w - v.offsetX + t.tx * kTileSide, top = j * h - v.offsetY + t.ty * kTileSide;
    again = Union(again, Intersect(Rect{left, top, left + kTileSide, top + kTileSide}, whole));
  }
  Rect changed = again;
  if (dx != 0 || dy != 0) {
    // The pixels both views show move with the view; the rest of the new view is composed. Pane pixels outside
    // the four pages keep what they show, as in a full composition.
    const Rect shown = CoveredBy(v, w, h, whole);
    const Rect kept = Intersect(shown, Translated(CoveredBy(s.view, w, h, whole), int(dx), int(dy)));
    if (IsEmpty(kept)) {
      ComposeViewPart(pane, v, shown);
    } else {
      pane.BitBlt(kept.left, kept.top, kept.right - kept.left, kept.bottom - kept.top, pane, kept.left - int(dx),
                  kept.top - int(dy));
      const Rect parts[] = {{shown.left, shown.top, shown.right, kept.top},
                            {shown.left, kept.bottom, shown.right, shown.bottom},
                            {shown.left, kept.top, kept.left, kept.bottom},
                            {kept.right, kept.top, shown.right, kept.bottom}};
      for (const Rect& r : parts)
        if (!IsEmpty(r)) ComposeViewPart(pane, v, r);
    }
    changed = Union(shown, again);
  }
  if (!IsEmpty(again)) ComposeViewPart(pane, v, again);
  g_shown.view = v;
  g_shown.baseGenerations = BaseGenerationsOf(v);
  g_shown.cursors = Rect{};
  g_pages.ForgetTrackChanges();
  return changed;
}

void RebuildPages(int mode) {
  g_shown.valid = false;
  SyncPageSize();
  if (mode == 0 || mode == 2) g_pages.ClearLayer(MapLayer::Base);
  if (mode == 1 || mode == 2) g_pages.ClearLayer(MapLayer::Track);
}

void ResetPages() {
  g_shown.valid = false;
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

Rect CursorBox(int x, int y) {
  const int s = Drv().CursorHalfSize;
  // A wide pen stamps its footprint around each point of the cross.
  const int m = std::clamp(Pens().CursorPen.width, 1, Canvas::kMaxPenWidth);
  return {x - s - m, y - s - m, x + s + 1 + m, y + s + 1 + m};
}

void DrawCursor(Canvas& pane, int x, int y) {
  const int s = Drv().CursorHalfSize;
  pane.SelectPen(Pens().CursorPen);
  if (g_shown.valid && g_shown.pane == &pane) g_shown.cursors = Union(g_shown.cursors, CursorBox(x, y));
  pane.MoveTo(x - s, y);
  pane.LineTo(x + s + 1, y);
  pane.MoveTo(x, y - s);
  pane.LineTo(x, y + s + 1);
}

}  // namespace obrix
