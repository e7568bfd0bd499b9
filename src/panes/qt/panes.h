#pragma once
// The small panes of the logging screen as widgets that show their canvases. Every drawing goes into the
// canvases through the pane operations below, which then ask the widgets to show the result.
#include <QFont>
#include <QRect>
#include <span>

#include "panes/pane_paint.h"
#include "platform/qt/canvas_text.h"
#include "survey/pane_scales.h"

class QWidget;

namespace obrix {

// Child identifiers of the panes.
inline constexpr int kDecayPaneId = 610;
inline constexpr int kCurvePaneId = 600;
inline constexpr int kBarQPaneId = 620;
inline constexpr int kBarIPaneId = 630;
inline constexpr int kNumbersPaneId = 650;
inline constexpr int kSpeedPaneId = 651;
inline constexpr int kColourBarPaneId = 653;

struct LogPaneWidgets {
  CanvasWidget* curve = nullptr;      // "CurveWnd"
  CanvasWidget* barQ = nullptr;       // "BarQWnd"
  CanvasWidget* barI = nullptr;       // "BarIWnd"
  CanvasWidget* numbers = nullptr;    // "NumbersWnd"
  CanvasWidget* speed = nullptr;      // "SpeedWnd"
  CanvasWidget* colourBar = nullptr;  // "ColorBarWnd", 142 x 296 at (40, 25)
  CanvasWidget* decay = nullptr;      // "DecayWnd", never shown for this instrument
};

// Creates the panes as hidden white children of the logging screen (objectName = class name, property
// controlId) and fixes BarGridWidth. They become the panes the operations below draw into.
LogPaneWidgets CreateLogPanes(QWidget* logScreen);
// The panes of the logging screen; null entries before CreateLogPanes.
LogPaneWidgets& LogPanes();
// Makes the operations draw into other panes (tests); an empty set detaches them.
void UseLogPanes(const LogPaneWidgets& panes);

// Geometry from the layout of the logging screen (logging-screen coordinates). Sets the pane sizes, the bar
// placement for the right column and the speed-bar scale; the caller runs UpdatePaneScales.
struct PanePlacement {
  QRect profile;
  QRect condBars;
  QRect inphBars;
  QRect numbers;
  QRect speedBar;  // empty without GPS
  int rightColumnWidth = 110;
};
void PlaceLogPanes(const PanePlacement& placement);

// Erases and repaints the panes of the mask (PaneMask) and shows them.
void InvalidateLogPanes(unsigned mask);
// The conductivity bar pane, then the inphase bar pane.
void InvalidateBars();

// The pane work of one EM38 record: the profile scrolls only for a recorded reading; the bars always follow.
void ScrollProfilePane(const DisplayPixels& pixels, std::span<const int, kProfileChannels> present);
void UpdateBarPanes(const DisplayPixels& pixels);
// The speed bar for the shown speed.
void ShowSpeedOnBar(double shownSpeed);
// Repaints the profile pane and draws the recent readings of the open data file into it.
void RedrawProfilePaneFromData();

// One line of the numbers pane; a warning line has a dot at its right end.
struct NumbersLine {
  QString text;
  bool warning = false;
};
inline constexpr int kNumbersLines = 4;
// Shows the lines on `background`, the first with the top of its cell 4 pixels down, the others every
// `lineHeight` pixels below. Lines the pane shows already are not drawn again.
void ShowNumbers(std::span<const NumbersLine, kNumbersLines> lines, Colour background, const QFont& font,
                 int lineHeight);

// Shows the colour scale pane freshly painted, or hides it.
void ShowColourBar(bool show);
// Font of the colour-scale labels (LabelFont); SystemFont(14, 400) until set.
void SetPaneLabelFont(const QFont& font);
// Back to the default label font.
void ResetPaneLabelFont();

}  // namespace obrix
