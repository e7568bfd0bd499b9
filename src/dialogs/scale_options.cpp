#include "dialogs/scale_options.h"

#include <algorithm>
#include <cmath>

#include "map/map_view_state.h"
#include "panes/profile_pane.h"
#include "platform/numbers.h"
#include "settings/settings.h"
#include "settings/settings_file.h"
#include "state/colour_scale.h"
#include "survey/pane_scales.h"

namespace obrix {

namespace {

bool HasDigit(std::string_view text) { return text.find_first_of("0123456789") != std::string_view::npos; }

// A number of the field, or NaN when the text holds none.
double FieldNumber(std::string_view text) {
  if (!HasDigit(text)) return NAN;
  return ParseRealC(text);
}

}  // namespace

ReadingScaleCopy ReadingScaleCopy::OfSettings() {
  const Settings& s = Config();
  return {s.condScaleMin, s.condScaleMax, s.inphScaleMin, s.inphScaleMax};
}

void ReadingScaleCopy::RestoreToSettings() const {
  Settings& s = Config();
  s.condScaleMin = condMin;
  s.condScaleMax = condMax;
  s.inphScaleMin = inphMin;
  s.inphScaleMax = inphMax;
}

bool TakeLiveScaleLimit(ScaleLimit which, std::string_view text) {
  double v = FieldNumber(text);
  if (!std::isfinite(v)) return false;
  Settings& s = Config();
  double* target = nullptr;
  bool fits = false;
  switch (which) {
    case ScaleLimit::CondMin: target = &s.condScaleMin; fits = v < s.condScaleMax; break;
    case ScaleLimit::CondMax: target = &s.condScaleMax; fits = v > s.condScaleMin; break;
    case ScaleLimit::InphMin: target = &s.inphScaleMin; fits = v < s.inphScaleMax; break;
    case ScaleLimit::InphMax: target = &s.inphScaleMax; fits = v > s.inphScaleMin; break;
  }
  if (!fits || v == *target) return false;
  *target = v;
  return true;
}

ScaleLimits FixScaleLimits(double min, double max) {
  if (!std::isfinite(min)) min = 0.0;
  if (!std::isfinite(max) || !(min < max)) max = min + 100.0;
  return {min, max};
}

void ApplyReadingScales(const ReadingScaleEntry& e, const ReadingScaleCopy& before) {
  Settings& s = Config();
  ScaleLimits cond = FixScaleLimits(ParseRealC(e.condMin), ParseRealC(e.condMax));
  ScaleLimits inph = FixScaleLimits(ParseRealC(e.inphMin), ParseRealC(e.inphMax));
  s.condScaleMin = cond.min;
  s.condScaleMax = cond.max;
  s.inphScaleMin = inph.min;
  s.inphScaleMax = inph.max;
  UpdatePaneScales();
  ResetProfileContinuity();

  // The map's colours follow the scale of the survey's component.
  Settings old = s;
  old.condScaleMin = before.condMin;
  old.condScaleMax = before.condMax;
  old.inphScaleMin = before.inphMin;
  old.inphScaleMax = before.inphMax;
  ColourScale was = ColourScaleFor(old);
  ColourScale now = ColourScaleFor(s);
  bool changed = was.min != now.min || was.max != now.max;
  MapState().RedrawFlags = (s.mapColourView > 0 && changed) ? kRedrawColourView : 0;
  SaveLoadSettings(Save);
}

void CancelReadingScales(const ReadingScaleCopy& before) {
  MapState().RedrawFlags = 0;
  before.RestoreToSettings();
}

bool SpeedScaleAcceptable(double fullScale) { return std::isfinite(fullScale) && fullScale > 0.0; }

bool ApplySpeedScale(std::string_view fullScale, int speedUnitsIndex) {
  double v = ParseRealC(fullScale);
  if (!SpeedScaleAcceptable(v)) return false;
  Settings& s = Config();
  s.speedScaleMax = v;
  s.speedUnits = std::clamp(speedUnitsIndex, 0, 3);
  UpdateSpeedBarScale();
  SaveLoadSettings(Save);
  return true;
}

}  // namespace obrix
