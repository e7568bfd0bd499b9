#pragma once
// The coordinate frame of a survey's GIS outputs: metres of one UTM zone for geographic fixes, or the map units
// of a local grid (no CRS). The first position seen sets it.
#include "export/export_row.h"

namespace obrix {

struct SurveyFrame {
  bool set = false;
  bool geographic = false;
  int zone = 0;
  bool north = true;
  int mapUnits = 0;  // of a local grid
};

// Sets the frame from a position when it is not set yet.
void SetFrame(SurveyFrame& frame, bool geographic, int zone, bool north, int mapUnits);

// A row's sensor point or a fix's antenna in the frame: UTM metres, projected into the frame's zone when it lies
// in another; the map units as stored for a local grid. False when the position is missing, of the other kind
// or cannot be projected.
bool FramePosition(const SurveyFrame& frame, const ExportRow& row, double& x, double& y);
bool FramePosition(const SurveyFrame& frame, const ExportFix& fix, double& x, double& y);

}  // namespace obrix
