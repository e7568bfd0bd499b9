#include "app/qt/ui_process_state.h"

#include "app/process_state.h"
#include "app/qt/program_exit.h"
#include "panes/qt/panes.h"
#include "platform/qt/prompts.h"

namespace obrix {

// Not listed: the logging window pointer, which the window itself sets and clears for its lifetime.
void ResetUiProcessState() {
  ResetProcessState();
  DisarmExitGuard();
  UseLogPanes({});
  ResetPaneLabelFont();
  SetPrompts(nullptr);
}

}  // namespace obrix
