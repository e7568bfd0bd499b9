#pragma once
// Repaint of the logging screen's small panes. A pane that is invalidated is erased to white and its paint
// routine runs into its canvas at once; nothing is painted on a window-system expose.

namespace obrix {

class Canvas;

enum PaneMask : unsigned {
  kProfilePane = 1u << 0,
  kCondBarPane = 1u << 1,
  kInphBarPane = 1u << 2,
  kNumbersPane = 1u << 3,
  kSpeedBarPane = 1u << 4,
  kAllPanes = 0x1Fu,
};

// The canvases of the panes; a null entry is a pane that does not exist (the speed bar without GPS).
struct PaneCanvases {
  Canvas* profile = nullptr;
  Canvas* condBars = nullptr;
  Canvas* inphBars = nullptr;
  Canvas* numbers = nullptr;
  Canvas* speedBar = nullptr;
};

// Erases and paints every pane named in `invalid`, in the order profile, conductivity bars, inphase bars,
// numbers (erased only), speed bar. Panes not named stay unchanged.
void PaintPanes(const PaneCanvases& panes, unsigned invalid);

// The conductivity bar pane, then the inphase bar pane.
void InvalidateBars(const PaneCanvases& panes);

}  // namespace obrix
