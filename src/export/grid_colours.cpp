#include "export/grid_colours.h"

#include <cmath>

#include "state/palette.h"

namespace obrix {

void ColourCells(const std::vector<float>& values, float nodata, const ColourScale& scale, std::vector<uint8_t>& rgba) {
  rgba.assign(values.size() * 4, 0);
  const double step = ColourStep(scale);
  for (size_t i = 0; i < values.size(); ++i) {
    const float v = values[i];
    if (v == nodata || !std::isfinite(v)) continue;
    const Colour c = ColourTable[static_cast<size_t>(ColourIndexOf(v, scale, step))];
    uint8_t* p = &rgba[i * 4];
    p[0] = static_cast<uint8_t>(RedOf(c));
    p[1] = static_cast<uint8_t>(GreenOf(c));
    p[2] = static_cast<uint8_t>(BlueOf(c));
    p[3] = 255;
  }
}

}  // namespace obrix
