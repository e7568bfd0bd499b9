#include "gps/reading_bins.h"

#include "state/session.h"

namespace obrix {
namespace {
ReadingBinState g_bins;
}

ReadingBinState& Bins() { return g_bins; }
void ResetBins() { g_bins = ReadingBinState(); }

bool BinReading(int colourIndex) {
  ReadingBinState& b = g_bins;
  if (b.BinsCollecting != 1) return false;
  if (b.BinCount < 0) b.BinCount = 0;
  if (b.BinCount >= kReadingBinSize) return false;
  b.ReadingBins[b.BinBuffer & 1][b.BinCount] = colourIndex;
  ++b.BinCount;
  return true;
}

void AdvanceBinsAtFix(int loggingState) {
  ReadingBinState& b = g_bins;
  if (b.BinPhase == 0 && loggingState == Logging) {
    b.BinPhase = 1;
    b.BinsCollecting = 1;
  }
  if (b.BinPhase != 1) return;
  b.BinsCollecting = 0;
  if (loggingState == Logging) {
    b.LastBinBuffer = b.BinBuffer & 1;
    b.BinBuffer = 1 - b.LastBinBuffer;
    const bool hasData = b.BinCount > 0;
    b.LastBinCount = b.BinCount - 1;
    b.BinCount = 0;
    b.BinsReady = hasData ? 1 : 0;
  }
  b.BinsCollecting = 1;
}

void ResetBinsForRecording() {
  ReadingBinState& b = g_bins;
  b.BinCount = 0;
  b.BinsCollecting = 0;
  b.BinPhase = 0;
  b.BinsReady = 0;
}

}  // namespace obrix
