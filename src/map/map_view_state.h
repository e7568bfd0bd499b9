#pragma once
// Process-wide values of the map that the map dialogs set: the scale, what to redraw, and the copies kept
// while a map dialog is open.
namespace obrix {

// Bits of RedrawFlags: what changed in the last map dialog.
enum RedrawFlag : int {
  kRedrawPositionSize = 2,
  kRedrawPositionColour = 4,
  kRedrawColourView = 8,
  kRedrawGridStyle = 32,
  kRedrawGridInterval = 64,
  kRedrawLinesAngle = 128,
  kRedrawMapSize = 256,
  kRedrawMapUnits = 512,
};

struct MapViewState {
  double PixelsPerUnit = 0.0;  // page width / mapSize; 0 before the map pane is laid out
  int RedrawFlags = 0;
  int CursorFullSize = 13;     // 2 x cursorSize + 7, 19 for choice 5
  // Copies taken when a map dialog opens (restored when a new map size does not fit).
  int SavedMapSize = 0;
  double SavedPixelsPerUnit = 0.0;
  double SavedGridInterval = 0.0;
  int SavedCursorBandIndex = 0;
  int SavedCursorBandPx = 0;
  int SavedColourView = 0;     // mapColourView when review started
};

MapViewState& MapState();
void ResetMapViewState();

// Width of a map page in pixels: the map pane side less its 2-pixel frame, 0 before the layout.
int MapPageWidthPx();
// PixelsPerUnit = page width / mapSize (mapSize taken as at least 1).
void UpdatePixelsPerUnit();
// CursorFullSize and the CursorHalfSize of the derived values from cursorSize.
int CursorFullSizeFor(int cursorSize);
void UpdateCursorSizes();

}  // namespace obrix
