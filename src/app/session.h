#pragma once
// Process-wide session state of the application frame and the logging screen.
#include <cstdint>

#include "platform/shared_value.h"

namespace obrix {

enum LoggingStates : int { NoFile = 0, StandBy = -1, Logging = 1, Closed = -2 };

struct Session {
  Shared<int> LoggingState = Closed;  // read by the reader threads
  Shared<uint32_t> LoggingStartTick = 0u;  // tick of the last start of logging; read by the GPS reader
  int ActiveScreen = 0;               // 0 setup screen, 1 logging screen, 2 GPS monitor
  int SetupFocusedButton = 0;
  bool MapVisible = false;
  bool MapUpdatesEnabled = false;
};

Session& Sess();
void ResetSession();

// Ends the current logging session; returns 1 when it ended, 0 when the user chose to stay.
// `silent` is 1 when the program is closing (no question is asked).
int EndLoggingSession(int silent);

}  // namespace obrix
