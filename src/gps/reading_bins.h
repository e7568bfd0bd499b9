#pragma once
// The reading bins: colour indexes of the readings recorded between two fixes, in two buffers that swap at each
// fix, so the map colours the swath of the last interval while the next one fills (window thread only).

namespace obrix {

inline constexpr int kReadingBinSize = 500;

struct ReadingBinState {
  int ReadingBins[2][kReadingBinSize] = {};
  int BinBuffer = 0;       // buffer being filled
  int BinCount = 0;        // entries in it
  int BinsCollecting = 0;  // 1 = readings are binned
  int BinPhase = 0;        // 0 = no fix yet since recording started, 1 = running
  int LastBinBuffer = 0;   // buffer handed to the map
  int LastBinCount = -1;   // last index handed to the map
  int BinsReady = 0;       // 1 = the last interval holds at least one reading
};

ReadingBinState& Bins();
void ResetBins();

// Appends a colour index to the buffer being filled while binning is on. A full buffer takes nothing more
// until the next fix. True when the reading was binned.
bool BinReading(int colourIndex);

// The bin step of a valid fix (colour map on, map updates enabled): starts binning at the first fix of a
// recording and, while recording, hands the filled buffer over and starts the other one.
void AdvanceBinsAtFix(int loggingState);

// BinCount, BinsCollecting, BinPhase and BinsReady to 0 (start of recording).
void ResetBinsForRecording();

}  // namespace obrix
