#pragma once
// Values the reader threads share with the window thread. Every one is atomic; each is written by the side
// noted and read by the other.
#include <cstdint>

#include "platform/shared_value.h"

namespace obrix {

struct ReaderValues {
  // EM38 reader
  Shared<int> Em38RecordLength = 7;       // 7 or 12 characters, 'T' included, CR excluded (CheckInstrument)
  Shared<int> Em38PostEvery = 1;          // N: every N-th record is handed over (the logging commands set it)
  Shared<int> Em38RecordCounter = 0;      // records counted towards N (the logging commands reset it)
  Shared<uint32_t> InstrumentLastDataTick = 0u;  // tick of the last accepted record (reader)
  Shared<uint32_t> Em38RecordTick = 0u;          // same, kept for the record hand-over (reader)
  Shared<int> Em38ReaderRun = 0;          // 1 keeps the EM38 reader running (window thread clears it)
  Shared<int> Em38LinkBroken = 0;         // 1 from a silence of the link until records arrive again (reader)

  // GPS reader
  Shared<int> GpsReaderRun = 0;           // 1 keeps the GPS reader running (window thread clears it)
  Shared<int> GpsLinkBroken = 0;          // 1 while a reconnection is in progress (reader)
  Shared<uint32_t> GpsLastDataTick = 0u;  // tick when the last '$' line was taken (reader)
  Shared<uint32_t> GpsLastFixTick = 0u;   // tick of the last position sentence handed over (reader)
  Shared<long> GpsLineCounter = 0L;       // counter of the GPS trailer records; 0 on entering the logging screen
  Shared<int> GpsRecordingOn = 0;         // 1 from the first start of logging (window thread)
};

ReaderValues& Readers();
void ResetReaderValues();

// The minimum spacing of position sentences handed over, and the silence that starts a reconnection.
inline constexpr uint32_t kGpsFixIntervalMs = 910;
inline constexpr uint32_t kGpsSilenceMs = 3000;
// The EM38 link is broken after this silence; while it stays silent the port is reopened at this spacing.
inline constexpr uint32_t kEm38SilenceMs = 1000;
inline constexpr uint32_t kEm38ReopenMs = 3000;

}  // namespace obrix
