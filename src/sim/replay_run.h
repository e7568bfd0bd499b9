#pragma once
// The --replay mode of the simulator programs: a recorded survey streamed into a port link.
#include <string>

#include "sim/replay_stream.h"

namespace obrix::sim {

struct ReplayRun {
  std::string tool;        // program name for messages ("em38-sim")
  std::string port;        // "COMn"
  std::string file;        // the survey data file
  bool readings = false;   // its reading records (em38-sim), else its sentences and raw lines (gnss-sim)
  double speed = 1.0;
  bool loop = false;
};

// Loads the file's items for the device and streams them into a pseudo-terminal linked as the port, with the original spacing, until its end
// (or SIGINT / SIGTERM). Bytes the pseudo-terminal cannot take yet are kept and sent later, so a slow reader
// delays the stream rather than losing parts of items; once it has taken nothing for 1 s they are dropped, so
// the replay ends even when nothing reads the port. Recorded gaps are cut to 10 s (and the start says so).
// Returns the exit status: 0 at the end, 1 when the file cannot be used (the reason on stderr) or the port link
// cannot be made.
int RunReplay(const ReplayRun& run);

}  // namespace obrix::sim
