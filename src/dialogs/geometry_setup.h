#pragma once
// Geometry Setup: the GPS antenna offsets from the EM38, entered in a unit of the operator's choice and
// stored in metres.
#include <string>
#include <string_view>

namespace obrix {

inline constexpr const char* kGeometryUnitEntries[4] = {"meters", "centimeters", "feet", "inches"};

struct GeometryForm {
  int units = 0;              // 0 meters, 1 centimeters, 2 feet, 3 inches
  std::string lateralOffset;  // "GPS X Offset", in `units`
  std::string alongOffset;    // "GPS Y Offset", in `units`
};

// Metres per geometry unit; an unknown unit counts as metres.
double MetresPerGeometryUnit(int units);
// An offset in metres as the field shows it in `units` ("%.2f").
std::string OffsetText(double metres, int units);
// The field in `units` back to metres (text that is not a number counts as 0).
double OffsetMetres(std::string_view text, int units);

GeometryForm OpenGeometryForm();
// OK: units and both offsets (the along offset also into its working copy), the swath edges, and a save
// of the settings file. The fields are read in the units chosen when OK is pressed; a field left as shown in
// `opened` (the form OpenGeometryForm gave), in the same units, keeps its exact value.
void ApplyGeometryForm(const GeometryForm& form, const GeometryForm& opened);

}  // namespace obrix
