#include "dialogs/profile_display_options.h"

#include <algorithm>

#include "panes/profile_pane.h"
#include "settings/settings_file.h"
#include "state/palette.h"
#include "survey/pane_scales.h"
#include "survey/pane_state.h"

namespace obrix {

int ThicknessFromIndex(int index) { return std::clamp(index, 0, 3) + 1; }
int ThicknessIndex(int thickness) { return std::clamp(thickness, 1, 4) - 1; }

ProfileOptionsCopy ProfileOptionsCopy::Of(const Settings& s) {
  ProfileOptionsCopy c;
  for (int i = 0; i < kProfileOptionCurves; ++i) {
    c.colour[i] = s.traceColour[i];
    c.thickness[i] = s.traceThickness[i];
  }
  return c;
}

void ProfileOptionsCopy::RestoreTo(Settings& s) const {
  for (int i = 0; i < kProfileOptionCurves; ++i) {
    s.traceColour[i] = colour[i];
    s.traceThickness[i] = thickness[i];
  }
}

void ApplyProfileOptions(int gridChannel) {
  Config().profileGridChannel = gridChannel == 1 ? 1 : 0;
  UpdateProfileGrid();
  ResetProfileContinuity();
  Panes().Cond.Drawn = 0;
  Panes().Inph.Drawn = 0;
  SaveLoadSettings(Save);
  RecreateTracePens();
}

}  // namespace obrix
