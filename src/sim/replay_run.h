#pragma once
// The --replay mode of the simulator programs: a recorded survey streamed into a port link.
#include <string>

#include "sim/replay_stream.h"

namespace obrix::sim {

struct ReplayRun {
  std::string tool;        // program name for messages ("em38-sim")
  std::string port;        // "COMn"
  std::string file;        // shown in the start line
  double speed = 1.0;
  bool loop = false;
};

// Streams the timeline into a pseudo-terminal linked as the port, with the original spacing, until its end
// (or SIGINT / SIGTERM). Bytes the pseudo-terminal cannot take yet are kept and sent later, so a slow reader
// delays the stream rather than losing parts of items. Returns the exit status: 0 at the end, 1 when the
// port link cannot be made.
int RunReplay(const ReplayRun& run, ReplayTimeline timeline);

}  // namespace obrix::sim
