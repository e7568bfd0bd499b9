#pragma once
// Length units of positions. Two sets of constants, each used in its own place: projected UTM metres are divided
// by the metres per unit; grid metres received from LLK/LLQ/RTS sentences are multiplied by units per metre.
#include "settings/settings.h"

namespace obrix {

// Projected UTM coordinates: metres per unit for mapUnits 0..2 (kMetresPerMapUnit).
double MetresToLengthUnit(double metres, int unit);
double LengthUnitToMetres(double value, int unit);

// Grid coordinates of LLK/LLQ/RTS sentences: units per metre for mapUnits 0..2.
inline constexpr double kGridUnitsPerMetre[3] = {1.0, 3.28084, 3.2808333333333355};
double GridMetresToLengthUnit(double metres, int unit);

// Factor taking an RTS pseudo-GGA grid value to map units, by the value's unit (feet or metres), the units
// digit (rtsUnits: 0 "meters or feet", 1 "US Survey Feet"; 2 written by sibling programs) and mapUnits.
// Feet are US survey feet when the digit is 1. Shared by the live decoding and the data-file background import.
double RtsGridFactor(bool inFeet, int unitsDigit, int mapUnits);

}  // namespace obrix
