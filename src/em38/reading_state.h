#pragma once
// Process-wide state of the recorded readings: the current station and the reading counters.
#include <cstdint>

namespace obrix {

struct ReadingState {
  double StationValue = 0.0;        // current station, starts at startStation
  int StationStarted = 0;           // 0 until the first reading of a line is recorded
  int LineReadingCount = 0;         // readings recorded in the current line
  int TotalReadingCount = 0;        // readings recorded since the logging screen was entered
  uint32_t RecordingStartTick = 0;  // tick of the last start of recording
  uint32_t RecordedTimeBefore = 0;  // recorded time before the last pause, ms
  uint32_t RecordedTime = 0;        // ms
};

ReadingState& Readings();
void ResetReadingState();

}  // namespace obrix
