#pragma once
// The page operations of the map: reaching a page layer for drawing (which makes the page part of the used
// pages), composing the 2 x 2 block of a view into the pane (base layer with its grid, then the track layer
// combined by AND), clearing and rebuilding pages, and the reset of the map frame.
#include "map/map_frame.h"
#include "map/page_painter.h"
#include "map/page_store.h"

namespace obrix {

// The pages of the map (window thread only).
PageStore& MapPages();

// Makes page (col, row) exist (widening UsedPages) and gives a painter for one of its layers. Pages outside the
// table give a painter that draws nothing and widen nothing.
PagePainter SelectPageLayer(int col, int row, MapLayer layer);
// Creates the page without drawing (widens UsedPages when it lies in the table).
void TouchPage(int col, int row);

// Fills (0, 0, W, H) of the pane white.
void ClearMapPane(Canvas& pane);
// Composes the four pages of `view` at their pane positions (copy size: the map pane side).
void ShowView(Canvas& pane, const MapView& view);
// Brings the pane, which shows the view of the last ShowView or ShowViewChanges, up to date for `view`: the pixels
// both views show are moved, the rest of the new view, the track tiles changed since and the cursors drawn since
// are composed. When the pane may show anything else (other drawing, other pages, grid, base layers or size) the
// whole view is composed. Returns the box of pane pixels that may have changed.
Rect ShowViewChanges(Canvas& pane, const MapView& view);
// Composes one page at pane pixel (x, y).
void ComposePage(Canvas& pane, int x, int y, int col, int row, bool withTrack = true);

// Mode 0: base layers redrawn (grid only), track layers kept; 1: track layers cleared; 2: both.
void RebuildPages(int mode);
// Deletes every page and shrinks UsedPages to the live view's page.
void ResetPages();
// Opening of the logging screen: every page deleted, limits, saved copies, scale, flags, view bounds, the swath
// method from the sign of the along offset.
void ResetMapFrame();

// The position cursor on the pane: a cross of half size CursorHalfSize in the cursor pen.
void DrawCursor(Canvas& pane, int x, int y);
// The box of pane pixels the cursor at (x, y) may cover.
Rect CursorBox(int x, int y);

}  // namespace obrix
