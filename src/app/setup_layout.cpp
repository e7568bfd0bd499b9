#include "app/setup_layout.h"
#include "settings/survey_inputs.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "platform/numbers.h"

namespace obrix {

const std::array<const char*, kSetupButtonCount> kSetupButtonCaptions = {
    "&Logging",        "&Survey Setup", "Sys&tem Setup",      "G&eometry Setup", "&GPS Port Setup",
    "GPS M&onitoring", "&Map Options",  "&Profiles Options", "&Reset to Default", "E&xit"};

bool ComputePortrait(int width, int height) { return height >= width; }

WindowPlacement ComputeMainWindow(int screenWidth, int screenHeight) {
  int w = screenWidth;
  int h = screenHeight - 38;
  bool portrait = ComputePortrait(w, h);
  const int maxW = portrait ? 800 : 1280, maxH = portrait ? 1242 : 762;
  const int minW = portrait ? 640 : 800, minH = portrait ? 986 : 562;
  if (w > maxW || h > maxH) { w = maxW; h = maxH; }
  if (w < minW || h < minH) { w = minW; h = minH; }
  int left = std::max(0, (screenWidth - w) / 2);
  int top = std::max(0, (screenHeight - h - 38) / 2);
  return {left, top, w, h, portrait};
}

bool ComputeLargeScreen(bool portrait, int clientWidth, int clientHeight) {
  if (portrait) return clientHeight > 1000;
  return clientWidth > 1024 || clientHeight > 900;
}

std::array<Rect, kSetupButtonCount> LayoutSetupButtons(bool portrait, int cw, int ch) {
  std::array<Rect, kSetupButtonCount> r{};
  auto place = [&](int index, int x, int y, int w, int h) { r[index] = {x, y, x + w, y + h}; };
  if (portrait && ch >= 110) {
    const int w = (cw - 49) / 4;
    const int top = static_cast<int>(0.55 * ch);
    const int h = std::max(36, (ch - top - 36) / 3);
    auto col = [&](int c) { return 20 + c * (w + 3); };
    auto row = [&](int k) { return top + k * (h + 3); };
    for (int c = 0; c < 4; ++c) {
      place(1 + c, col(c), row(0), w, h);  // Survey, System, Geometry, GPS Port
      place(5 + c, col(c), row(1), w, h);  // GPS Monitoring, Map, Profiles, Reset
    }
    place(9, col(0), row(2), w, h);          // Exit
    place(0, col(1), row(2), 3 * w + 6, h);  // Logging across columns 2 to 4
  } else if (!portrait && cw >= 1000) {
    const int w = cw / 6;
    const int x1 = cw - 2 * w - 33, x2 = x1 + w + 3;
    const int h = std::max(36, (ch - 172) / 5);
    for (int i = 0; i < 5; ++i) {
      place(i, x1, 30 + i * (h + 3), w, h);
      place(i + 5, x2, 30 + i * (h + 3), w, h);
    }
  } else {
    const int h = std::max(36, (ch - 207) / 10);
    for (int i = 0; i < kSetupButtonCount; ++i) place(i, cw - 200, 30 + i * (h + 3), 170, h);
  }
  return r;
}

FontSpec SetupButtonFont(const FontSet& fonts, bool portrait, int cw, int ch) {
  if (portrait) return fonts.portraitButton;
  if (cw > 1100 || ch > 1100) return fonts.largeButton;
  return fonts.button;
}

std::string NmeaFormatName(int nmeaFormat, int slamPseudoGga) {
  static const char* const names[] = {"GGA/GSA", "GGA", "POS", "LLK", "LLQ", "GLL", "GGK", "Pseudo GGA", "Pseudo GLL"};
  if (nmeaFormat == 7 && slamPseudoGga) return "p-GGA SLAM";
  if (nmeaFormat < 0 || nmeaFormat > 8) return "";
  return names[nmeaFormat];
}

std::vector<SummaryRow> SummaryRows(const Settings& s, const Derived& d) {
  static const char* const pauseKeys[] = {"any key", "<Enter>", "<Space Bar>", "<P>"};
  std::vector<SummaryRow> rows(5);
  const bool em = UsesInstrument(s);
  rows[0] = {"Update Rate:", em && s.readingInterval != 0 ? FormatC("%.2f Hz", 1.0 / s.readingInterval) : "N/A",
             "EM38 Component:", !em ? "Disabled" : (s.component == 1 ? "Inphase" : "Conductivity")};
  rows[1] = {"Survey Line:", s.lineName, "Dipole Mode:", s.dipoleMode == 1 ? "Horizontal" : "Vertical"};
  rows[2] = {"Line Increment:", FormatC("%.2f", s.lineIncrement), "Pause Key:",
             pauseKeys[(s.pauseKey >= 0 && s.pauseKey <= 3) ? s.pauseKey : 0]};
  rows[3] = {"Start Station:", FormatC("%.3f", s.startStation), "GPS Input:",
             !UsesGps(s) ? "Disabled" : (em ? "Enabled" : "Auto")};
  rows[4] = {"Station Increment:", FormatC("%.3f", d.StationIncrementInUse), "GPS Data:",
             !UsesGps(s) ? "N/A" : NmeaFormatName(s.nmeaFormat, s.slamPseudoGga)};
  return rows;
}

SummaryColumns ComputeSummaryColumns(int areaLeft, int areaRight, bool smallScreen, int w1, int w2) {
  SummaryColumns c{};
  c.centre = (areaLeft + areaRight) / 2;
  c.labelOffset = smallScreen ? 130 : 160;
  c.leftX = std::max(40, c.centre - 40 - (c.labelOffset + w1));
  c.rightX = std::max(300, c.centre + 40);
  if (c.rightX + c.labelOffset + w2 > areaRight) c.rightX = areaRight - (c.labelOffset + w2);
  return c;
}

int SummaryStep(int i, bool smallScreen) {
  if (!smallScreen) return 25;
  return i < 2 ? 23 : 18;
}

SketchScale ComputeSketchScale(double lateralOffset, double alongOffset, int frameWidth, int frameHeight) {
  SketchScale k{0.05, 1.0, 0.0};
  if (std::fabs(lateralOffset) > 0.025) k.acrossExtent = std::fabs(lateralOffset) + 0.025;
  if (std::fabs(alongOffset) > 0.5) k.alongExtent = std::fabs(alongOffset) + 0.5;
  k.pixelsPerMetre = std::min(0.6 * frameWidth / k.acrossExtent, 0.6 * frameHeight / k.alongExtent);
  if (!(k.pixelsPerMetre > 0)) k.pixelsPerMetre = 0;
  return k;
}

int DecodeSetupKey(int key, int& focused) {
  switch (key) {
    case 9: case 39: case 40:  // Tab, Right, Down
      focused = (focused + 1) % kSetupButtonCount;
      return -1;
    case 37: case 38:  // Left, Up
      focused = (focused + kSetupButtonCount - 1) % kSetupButtonCount;
      return -1;
    case 13:
      return focused;
    default:
      break;
  }
  static const char letters[] = "LSTEGOMPRX";
  for (int i = 0; i < kSetupButtonCount; ++i)
    if (key == letters[i]) return i;
  return -1;
}

}  // namespace obrix
