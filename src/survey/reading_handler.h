#pragma once
// The window-thread handling of each EM38 record: decoding, and while recording the reading bin, the reading
// record, the station, the counters and the profile; in every state the instrument readout, the bars and the
// marker. What the screen must redraw goes through ScreenSink().
#include <cstdint>
#include <string_view>

#include "em38/em38_record.h"
#include "survey/screen_sink.h"

namespace obrix {

// Fixes SelectedChannel (2 x component + dipoleMode) and the expected dipole letter for this logging screen.
void PrepareReadingHandling();

// Handles one record as received ('T' and its body, no CR) with the tick of its reception. Returns 0. A
// record received before LoggingStartTick is handled as outside recording.
int OnEm38Record(std::string_view record, uint32_t receptionTick);

// The EM38 link is broken: the instrument readout in the warning colour says the instrument is lost, and the
// marker line is cleared. The next record's readout replaces it.
void OnEm38LinkLost();
InstrumentReadout LostInstrumentReadout();
inline constexpr const char* kInstrumentLostLines[2] = {"Instrument", "LOST"};

// The readout texts of a record; `recording` selects the normal/warning background instead of the idle one.
InstrumentReadout MakeInstrumentReadout(const Em38Reading& reading, bool recording, int component,
                                        char expectedDipole);
// Hours, minutes and seconds of a recorded time in ms: "%02d:%02d:%02d".
ReadoutText RecordedTimeText(uint32_t ms);

}  // namespace obrix
