#include "survey/pane_state.h"

namespace obrix {

PaneState& Panes() {
  static PaneState state;
  return state;
}

void ResetPaneState() { Panes() = PaneState{}; }

}  // namespace obrix
