#include "em38/reading_state.h"

namespace obrix {

namespace {
ReadingState g_readings;
}

ReadingState& Readings() { return g_readings; }
void ResetReadingState() { g_readings = ReadingState{}; }

}  // namespace obrix
