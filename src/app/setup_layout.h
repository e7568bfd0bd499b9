#pragma once
// Geometry of the setup screen: window size, screen class, button layout, summary and sketch.
#include <array>
#include <string>
#include <vector>

#include "platform/canvas.h"
#include "platform/font_set.h"
#include "settings/settings.h"

namespace obrix {


struct WindowPlacement {
  int left, top, width, height;
  bool portrait;
};

// Main window size and centring for a screen of w x h pixels.
WindowPlacement ComputeMainWindow(int screenWidth, int screenHeight);
bool ComputePortrait(int width, int height);
bool ComputeLargeScreen(bool portrait, int clientWidth, int clientHeight);

inline constexpr int kSetupButtonFirstId = 420;
inline constexpr int kSetupButtonCount = 10;
extern const std::array<const char*, kSetupButtonCount> kSetupButtonCaptions;

// Rectangles of the ten setup buttons, in identifier order.
std::array<Rect, kSetupButtonCount> LayoutSetupButtons(bool portrait, int clientWidth, int clientHeight);

// The font of the setup buttons.
FontSpec SetupButtonFont(const FontSet& fonts, bool portrait, int clientWidth, int clientHeight);

struct SummaryRow {
  std::string leftLabel, leftValue, rightLabel, rightValue;
};
// The rows of the settings summary, formatted from the current settings.
std::vector<SummaryRow> SummaryRows(const Settings& s, const Derived& d);
std::string NmeaFormatName(int nmeaFormat, int slamPseudoGga);

// Column geometry of the summary for an area [areaLeft, areaRight).
struct SummaryColumns {
  int centre, leftX, rightX, labelOffset;
};
SummaryColumns ComputeSummaryColumns(int areaLeft, int areaRight, bool smallScreen, int w1, int w2);
// Vertical step before summary row i (0 = the step from the caption to the headings).
int SummaryStep(int i, bool smallScreen);

// Scale of the geometry sketch in pixels per metre, and the extents it covers.
struct SketchScale {
  double acrossExtent, alongExtent, pixelsPerMetre;
};
SketchScale ComputeSketchScale(double lateralOffset, double alongOffset, int frameWidth, int frameHeight);

// Key and command decoding of the setup screen. Returns the command index 0..9 to run, or -1.
// Navigation keys move `focusedButton`.
int DecodeSetupKey(int keyCode, int& focusedButton);

}  // namespace obrix
