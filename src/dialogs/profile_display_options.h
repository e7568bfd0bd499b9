#pragma once
// Logic of the profile display options: the four curves of the EM38 (colour and thickness) and the channel of
// the profile grid.
#include <array>

#include "settings/settings.h"

namespace obrix {

inline constexpr int kProfileOptionCurves = 4;
inline constexpr const char* kProfileCurveNames[kProfileOptionCurves] = {
    "Conductivity/Vertical", "Conductivity/Horizontal", "Inphase/Vertical", "Inphase/Horizontal"};

// traceThickness for a list index 0..3 ("1 pixel" .. "4 pixels"), and the list index of a thickness.
int ThicknessFromIndex(int index);
int ThicknessIndex(int thickness);

struct ProfileOptionsCopy {
  std::array<Colour, kProfileOptionCurves> colour{};
  std::array<int, kProfileOptionCurves> thickness{};
  static ProfileOptionsCopy Of(const Settings& s);
  void RestoreTo(Settings& s) const;
};

// OK: the grid channel, the profile grid from that channel's scale, new runs of every curve, the bars redrawn
// at their next update, the trace pens rebuilt and the settings saved.
void ApplyProfileOptions(int gridChannel);

}  // namespace obrix
