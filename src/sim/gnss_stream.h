#pragma once
// The receiver simulator's byte source: the sentences of one of the nine input formats at 1 to 10 Hz, walking
// the scenario's survey lines, with chosen quality, satellites and DOP, and optional faults (bad checksums,
// garbage lines, silence windows).
#include <cstdint>
#include <string>
#include <vector>

#include "sim/scenario.h"
#include "sim/sim_clock.h"

namespace obrix::sim {

struct GnssOptions {
  int format = 1;          // nmeaFormat 0..8
  bool slam = false;       // format 7: the SLAM fields, with checksums
  int rateHz = 1;          // epochs per second, 1..10
  int quality = 4;         // fix quality digit (POS sends it as mode quality - 1)
  int satellites = 10;
  double pdop = 1.8, hdop = 0.9, vdop = 1.5;
  double altitude = 152.5;     // metres
  double geoidSeparation = -35.4;
  int badChecksumEvery = 0;    // every n-th checksummed sentence carries a wrong checksum; 0 = none
  int garbageEvery = 0;        // a garbage line after every n-th epoch; 0 = none
  bool extraSentence = false;  // a VTG after each epoch, which readers do not use
  double gridNorthOrigin = 5000.0;  // local grid of LLK, LLQ and the pseudo-GGA: origin of the walk, metres
  double gridEastOrigin = 1000.0;
  bool rtsFeet = false;        // format 7: grid values and unit letter 'F' in feet
  int day = 1, month = 1, year = 2024;  // date fields of LLK, LLQ and GGK
};

// Text of a latitude (ddmm.mmmmm) or longitude (dddmm.mmmmm) field for the absolute value of `degrees`.
std::string NmeaLatitude(double degrees);
std::string NmeaLongitude(double degrees);
// hhmmss.ss of a time of day in seconds (wrapped into one day).
std::string NmeaTime(double secondsOfDay);
// Appends "*hh" (the XOR after '$') and CR LF; with `corrupt` the checksum is deliberately wrong.
std::string NmeaFinish(const std::string& body, bool withChecksum, bool corrupt = false);

// Whether sentences of the format carry a checksum.
bool GnssFormatHasChecksum(const GnssOptions& o);

class GnssStream {
 public:
  // `walkSecondsAtStart` and `utcAtStart` (seconds of the day) are the walk time and the UTC time at `startMs`.
  GnssStream(const GnssOptions& o, const Scenario& scenario, uint32_t startMs, double walkSecondsAtStart,
             double utcAtStart);

  // Appends what is due up to `nowMs` to *out: every epoch at start + k * 1000 / rate that falls outside a
  // silence window. After a stall of more than 2 s the stream skips ahead.
  void Generate(uint32_t nowMs, std::string* out);
  // No output for `durationMs` from the time of the last Generate call (or from `fromElapsedMs`).
  void SilenceNow(uint32_t durationMs);
  void AddSilence(uint64_t fromElapsedMs, uint32_t durationMs);
  bool SilentAt(uint64_t elapsedMs) const;

  // The sentences of one epoch at walk time `walkSeconds` and UTC `utcSeconds`.
  std::string Epoch(double walkSeconds, double utcSeconds);
  // One garbage line; `kind` cycles through printable junk, control and 8-bit bytes, and a 250-character line.
  static std::string Garbage(int kind);

  uint64_t epochsDue() const { return next_; }

 private:
  std::string Sentence(const std::string& body);

  GnssOptions o_;
  Scenario scenario_;
  uint32_t last_;
  uint64_t elapsed_ = 0;
  double walkAtStart_, utcAtStart_;
  uint64_t next_ = 0;
  uint64_t checksummed_ = 0;  // sentences with a checksum so far
  int garbageKind_ = 0;
  struct Window {
    uint64_t from, to;
  };
  std::vector<Window> silences_;
};

}  // namespace obrix::sim
