#pragma once
// Logic of the readings scales and speed bar scale dialogs.
#include <string>
#include <string_view>

namespace obrix {

enum class ScaleLimit { CondMin, CondMax, InphMin, InphMax };

struct ReadingScaleCopy {
  double condMin = 0, condMax = 0, inphMin = 0, inphMax = 0;
  static ReadingScaleCopy OfSettings();
  void RestoreToSettings() const;
};

// While typing: a field that holds a number different from its setting and still below the maximum (for a
// minimum) or above the minimum (for a maximum) is taken at once. True when the setting changed.
bool TakeLiveScaleLimit(ScaleLimit which, std::string_view text);

// A minimum not below its maximum gives maximum = minimum + 100.
struct ScaleLimits {
  double min, max;
};
ScaleLimits FixScaleLimits(double min, double max);

struct ReadingScaleEntry {
  std::string condMin, condMax, inphMin, inphMax;
};
// OK: the four limits with their rule, the pane scales recomputed, new profile runs, RedrawFlags 8 when the
// map shows colours and its colour scale changed (else 0), settings saved.
void ApplyReadingScales(const ReadingScaleEntry& entry, const ReadingScaleCopy& before);
// Cancel: RedrawFlags cleared and the four limits back.
void CancelReadingScales(const ReadingScaleCopy& before);

// A full scale above the bar's minimum (0) is accepted.
bool SpeedScaleAcceptable(double fullScale);
// OK: speedScaleMax and speedUnits, the speed-bar scale, settings saved. False (nothing changed) when the
// full scale is not acceptable.
bool ApplySpeedScale(std::string_view fullScale, int speedUnitsIndex);

}  // namespace obrix
