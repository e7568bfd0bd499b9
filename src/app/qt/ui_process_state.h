#pragma once
// The reset of the window side's process-wide records, on top of the core one.
namespace obrix {

// ResetProcessState, then: the logging panes detached, the default label font, the exit guard disarmed and the
// real prompts. Window thread only.
void ResetUiProcessState();

}  // namespace obrix
