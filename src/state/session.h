#pragma once
// Process-wide session state of the application frame and the logging screen.
#include <cstdint>

#include "platform/shared_value.h"

namespace obrix {

enum LoggingStates : int { NoFile = 0, StandBy = -1, Logging = 1, Closed = -2 };

// The track against the edge of the map pages: it reached the edge while logging, and the operator was then
// warned at Pause (logging cannot start again until the map size is increased).
enum class MapOverflow : int { None = 0, AtPageEdge = 1, Warned = 2 };

struct Session {
  Shared<int> LoggingState = Closed;  // read by the reader threads
  Shared<uint32_t> LoggingStartTick = 0u;  // tick of the last start of logging; read by the GPS reader
  int ActiveScreen = 0;               // 0 setup screen, 1 logging screen, 2 GPS monitor
  int SetupFocusedButton = 0;
  bool MapVisible = false;
  bool MapUpdatesEnabled = false;
  bool ReviewMode = false;            // the map is in review
  bool MenuMode = false;              // set once the popup menu was shown; changes some keys
  int FocusedButton = 0;              // main button 0..3 (identifier 460 + index) with the default style
  MapOverflow MapOverflowState = MapOverflow::None;

  // Channel the survey records and its dipole letter, fixed when the logging screen is entered.
  int SelectedChannel = 0;            // 2 x component + dipoleMode
  char ExpectedDipole = 'V';

  // Reading counters and recorded time (ms; ticks modulo 2^32).
  int LineReadingCount = 0;           // readings recorded in the current line
  int TotalReadingCount = 0;          // readings recorded since the logging screen was entered
  uint32_t RecordingStartTick = 0;    // tick of the last start of recording
  uint32_t RecordedTimeBefore = 0;    // recorded time accumulated before the last pause
  uint32_t RecordedTime = 0;          // RecordedTimeBefore + (now - RecordingStartTick)
};

Session& Sess();
void ResetSession();

// Ends the current logging session; returns 1 when it ended, 0 when the user chose to stay.
// `silent` is 1 when the program is closing (no question is asked).
int EndLoggingSession(int silent);

}  // namespace obrix
