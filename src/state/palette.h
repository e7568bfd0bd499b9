#pragma once
// The fixed system colours, the colour scale of the map and the process-wide pens and brushes.
#include <array>

#include "platform/canvas.h"

namespace obrix {

// Fixed system and panel colours.
inline constexpr Colour kButtonFace = Rgb(240, 240, 240);
inline constexpr Colour kWindowText = Rgb(0, 0, 0);
inline constexpr Colour kGridGrey = Rgb(192, 192, 192);    // grid and zero lines
inline constexpr Colour kTextGrey = Rgb(160, 160, 160);    // map texts, busy indicator, product title
inline constexpr Colour kDarkGrey = Rgb(80, 80, 80);       // geometry sketch heading
inline constexpr Colour kLegendFrame = Rgb(64, 64, 64);
inline constexpr Colour kSpeedBarBlue = Rgb(0, 0, 255);
inline constexpr Colour kVersionBlue = Rgb(0, 0, 255);

// Colour scale: indices 0..ColourCount are the ramp, kOtherChannelColour is white.
inline constexpr int ColourCount = 49;
inline constexpr int kOtherChannelColour = 50;
inline constexpr int kColourTableSize = 51;
extern const std::array<Colour, kColourTableSize> ColourTable;

struct SharedPens {
  // Colour scale (map swath, colour bar pane, legend): solid pens 2 pixels wide and matching brushes.
  std::array<Pen, kColourTableSize> ColourPens;
  std::array<Brush, kColourTableSize> ColourBrushes;

  // Profile and bar panes, from traceColour and traceThickness.
  std::array<Pen, 8> TracePen;      // traceThickness[i] pixels
  std::array<Pen, 8> ThinTracePen;  // 1 pixel
  std::array<Brush, 8> TraceBrush;

  Pen ZeroLinePen;       // 2 pixels, grey 192
  Pen GridPen;           // 1 pixel, grey 192 (also the map grid)
  Pen BackgroundPen;     // 1 pixel, white
  Brush BackgroundBrush; // white
  Pen SpeedBarPen;
  Brush SpeedBarBrush;
  Pen LegendFramePen;

  // Map marks, from positionColour and cursorColour.
  Pen PositionPen;       // 1 pixel
  Pen ThickPositionPen;  // 2 pixels
  Brush PositionBrush;
  Pen CursorPen;         // 1 pixel

  // Map texts and the busy indicator.
  Pen GreyPen;
  Brush GreyBrush;
  Brush WhiteBrush;
  Brush ButtonFaceBrush;
};

// The process-wide pens and brushes (window thread only).
SharedPens& Pens();

// Builds every pen and brush from the fixed colours and Config().
void CreateSharedPens();
// Rebuilds the position and cursor pens after the map display options changed.
void RecreateMapPens();
// Rebuilds the eight profile pens and brushes after the profile options changed.
void RecreateTracePens();

}  // namespace obrix
