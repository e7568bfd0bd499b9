#include "state/palette.h"

#include "settings/settings.h"

namespace obrix {

const std::array<Colour, kColourTableSize> ColourTable = {
    Rgb(32, 0, 255),   Rgb(24, 0, 255),   Rgb(16, 0, 255),   Rgb(8, 0, 255),    Rgb(0, 0, 255),
    Rgb(0, 16, 255),   Rgb(0, 64, 255),   Rgb(0, 96, 255),   Rgb(0, 111, 255),  Rgb(0, 136, 255),
    Rgb(0, 160, 255),  Rgb(0, 192, 255),  Rgb(0, 224, 255),  Rgb(0, 255, 255),  Rgb(0, 255, 224),
    Rgb(0, 255, 192),  Rgb(0, 255, 160),  Rgb(0, 255, 128),  Rgb(0, 255, 96),   Rgb(0, 255, 32),
    Rgb(0, 255, 16),   Rgb(0, 255, 8),    Rgb(0, 255, 0),    Rgb(16, 255, 0),   Rgb(32, 255, 0),
    Rgb(64, 255, 0),   Rgb(96, 255, 0),   Rgb(128, 255, 0),  Rgb(160, 255, 0),  Rgb(224, 255, 0),
    Rgb(240, 255, 0),  Rgb(255, 255, 0),  Rgb(255, 242, 0),  Rgb(255, 224, 0),  Rgb(255, 196, 0),
    Rgb(255, 160, 0),  Rgb(255, 136, 0),  Rgb(255, 110, 0),  Rgb(255, 96, 0),   Rgb(255, 80, 0),
    Rgb(255, 64, 0),   Rgb(255, 32, 0),   Rgb(255, 0, 0),    Rgb(255, 0, 8),    Rgb(255, 0, 16),
    Rgb(255, 0, 32),   Rgb(255, 0, 64),   Rgb(255, 0, 96),   Rgb(255, 0, 128),  Rgb(255, 0, 255),
    Rgb(255, 255, 255),
};

SharedPens& Pens() {
  static SharedPens pens;
  return pens;
}

void RecreateMapPens() {
  SharedPens& p = Pens();
  const Settings& s = Config();
  p.PositionPen = SolidPen(1, s.positionColour);
  p.ThickPositionPen = SolidPen(2, s.positionColour);
  p.PositionBrush = SolidBrush(s.positionColour);
  p.CursorPen = SolidPen(1, s.cursorColour);
}

void RecreateTracePens() {
  SharedPens& p = Pens();
  const Settings& s = Config();
  for (std::size_t i = 0; i < p.TracePen.size(); ++i) {
    p.TracePen[i] = SolidPen(s.traceThickness[i] < 1 ? 1 : s.traceThickness[i], s.traceColour[i]);
    p.ThinTracePen[i] = SolidPen(1, s.traceColour[i]);
    p.TraceBrush[i] = SolidBrush(s.traceColour[i]);
  }
}

void CreateSharedPens() {
  SharedPens& p = Pens();
  for (int i = 0; i < kColourTableSize; ++i) {
    p.ColourPens[i] = SolidPen(2, ColourTable[i]);
    p.ColourBrushes[i] = SolidBrush(ColourTable[i]);
  }
  p.ZeroLinePen = SolidPen(2, kGridGrey);
  p.GridPen = SolidPen(1, kGridGrey);
  p.BackgroundPen = SolidPen(1, kWhite);
  p.BackgroundBrush = SolidBrush(kWhite);
  p.SpeedBarPen = SolidPen(1, kSpeedBarBlue);
  p.SpeedBarBrush = SolidBrush(kSpeedBarBlue);
  p.LegendFramePen = SolidPen(1, kLegendFrame);
  p.GreyPen = SolidPen(1, kTextGrey);
  p.GreyBrush = SolidBrush(kTextGrey);
  p.WhiteBrush = SolidBrush(kWhite);
  p.ButtonFaceBrush = SolidBrush(kButtonFace);
  RecreateMapPens();
  RecreateTracePens();
}

}  // namespace obrix
