#include "state/colour_scale.h"

#include <algorithm>
#include <cmath>

#include "platform/numbers.h"
#include "settings/settings.h"
#include "state/palette.h"

namespace obrix {

ColourScale ColourScaleFor(const Settings& s) {
  if (s.component == 1) return {s.inphScaleMin, s.inphScaleMax};
  return {s.condScaleMin, s.condScaleMax};
}

ColourScale CurrentColourScale() { return ColourScaleFor(Config()); }

double ColourStep(const ColourScale& scale) { return (scale.max - scale.min) / (ColourCount + 1); }
double ColourStep() { return ColourStep(CurrentColourScale()); }

int ColourIndexOf(double value, const ColourScale& scale, double step) {
  if (!(step > 0)) return 0;
  return std::clamp(TruncToInt((value - scale.min) / step), 0, ColourCount);
}

int ColourIndexOf(double value) {
  const ColourScale scale = CurrentColourScale();
  return ColourIndexOf(value, scale, ColourStep(scale));
}

}  // namespace obrix
