#pragma once
// Grid cells coloured with the map's colour scale: RGBA bytes a cell, transparent where a cell is empty.
#include <cstdint>
#include <vector>

#include "state/colour_scale.h"

namespace obrix {

// `rgba` gets 4 bytes a value; values equal to `nodata` (or not numbers) are transparent black.
void ColourCells(const std::vector<float>& values, float nodata, const ColourScale& scale, std::vector<uint8_t>& rgba);

}  // namespace obrix
