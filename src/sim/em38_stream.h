#pragma once
// The EM38 simulator's byte source: given the time, the records that are due, 72 ms (7 characters) or 91 ms
// (12 characters) apart, with the chosen status bits, a value source and marker presses.
#include <cstdint>
#include <string>

#include "sim/scenario.h"
#include "sim/sim_clock.h"

namespace obrix::sim {

enum class ValueSource { Constant, Ramp, Scenario };

struct Em38Options {
  int length = 7;             // record length without CR: 7 or 12
  bool conductivity = true;   // status bit 2: conductivity (quadrature) mode, else inphase
  bool vertical = true;       // status bit 5: vertical dipole, else horizontal
  bool range1000 = false;     // status bits 1 and 0 both set, else clear (range 100)
  bool divide8 = false;       // status bit 4
  bool spareBit = true;       // status bit 3 (unused by readers); keeps the status byte off NUL
  ValueSource source = ValueSource::Constant;
  double value = 25.0;        // constant value, mS/m or ppt
  double rampFrom = 10.0, rampTo = 60.0, rampSeconds = 20.0;  // saw-tooth ramp
  double markerEverySeconds = 0;  // a marker press every so many seconds; 0 = none
  uint32_t markerHoldMs = 300;    // how long a press keeps the marker bit set
};

// Period of the record length: 72 ms for 7 characters, 91 ms for 12.
uint32_t Em38PeriodMs(int length);

// The status byte of the options, with the marker bit when `marker`.
unsigned char Em38StatusByte(const Em38Options& o, bool marker);
// The reading in counts for a value in mS/m or ppt, by the scale of mode, range and divisor, clamped to what
// five characters can carry (-9999..99999).
int Em38Counts(const Em38Options& o, double value);
// One record with its CR: 'T', the status byte, five characters of counts ("-0123", "00500"), the five
// unused characters of the long form, CR.
std::string FormatEm38Record(const Em38Options& o, double value, bool marker);

class Em38Stream {
 public:
  // `walkSecondsAtStart`: the scenario walk time at `startMs` (used only with ValueSource::Scenario).
  Em38Stream(const Em38Options& o, const Scenario& scenario, uint32_t startMs, double walkSecondsAtStart = 0);

  // Appends the records due up to `nowMs` (ticks, modulo 2^32) to *out. After a stall of more than 2 s the
  // stream skips ahead instead of sending the backlog at once.
  void Generate(uint32_t nowMs, std::string* out);
  // Holds the marker bit for markerHoldMs from the time of the last Generate call (a button press).
  void PressMarker();

  // Value of the source and the marker bit `elapsedMs` after the start.
  double ValueAt(uint64_t elapsedMs) const;
  bool MarkerAt(uint64_t elapsedMs) const;
  uint64_t recordsSent() const { return next_; }

 private:
  Em38Options o_;
  Scenario scenario_;
  uint32_t last_;          // tick of the last Generate call
  uint64_t elapsed_ = 0;   // ms since the start, kept in 64 bits across tick wraps
  double walkAtStart_;
  uint32_t period_;
  uint64_t next_ = 0;  // index of the next record; record k is due at start + k * period
  bool pressed_ = false;
  uint64_t pressFrom_ = 0;  // elapsed ms of the last press
};

}  // namespace obrix::sim
