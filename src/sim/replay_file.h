#pragma once
// Reading the replay timeline of a survey data file.
#include <string>
#include <vector>

#include "sim/replay_stream.h"

namespace obrix::sim {

// The readings and sentence groups of the data file at `path`, in file order, with their segments.
// False with a readable reason when the file cannot be read, is empty or is not a survey data file.
bool ReadReplayEvents(const std::string& path, std::vector<ReplayEvent>* events, std::string* error);

// The items of the file for one device: readings, or sentences and raw lines. False with a readable reason
// as above, or when the file holds nothing for the device.
bool LoadReplay(const std::string& path, bool readings, ReplayTimeline* out, std::string* error);

}  // namespace obrix::sim
