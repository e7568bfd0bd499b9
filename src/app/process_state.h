#pragma once
// Every process-wide record in one list, and the one reset that puts them all back as a fresh process has them.
namespace obrix {

// Stops the reader threads, closes the ports and the data file, restores the real clock, sound and data root,
// removes every installed hook and handler, and resets each record to its start value.
void ResetProcessState();

}  // namespace obrix
