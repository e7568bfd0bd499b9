#pragma once
// Assembly of GPS lines: '$' starts a line, LF ends it, control and 8-bit bytes are dropped and a line longer
// than 200 characters restarts. The checksum XOR is taken on the way. No allocation; the completed line stays
// readable until the next byte.
#include <cstddef>
#include <string_view>

#include "gps/nmea_fields.h"

namespace obrix {

class NmeaLineAssembler {
 public:
  static constexpr size_t kBufferSize = 256;
  static constexpr size_t kRestartAbove = 200;

  enum class Event {
    None,          // byte kept or dropped, line still open
    SentenceStart, // a '$' restarted the buffer: take the line's start time now
    LineComplete,  // an LF ended a non-empty line: see line()
  };

  Event Feed(unsigned char byte);
  // Runs the byte rule over `bytes` up to and including the first byte that gives an event (or all of them);
  // sets *used to the number of bytes taken and returns that event (None when every byte was taken).
  Event Feed(std::string_view bytes, size_t* used);

  // The completed line (after LineComplete) or the text gathered so far; NUL-terminated, at most 201 characters.
  std::string_view line() const { return std::string_view(buf_, size_); }
  const char* c_str() const { return buf_; }
  size_t size() const { return size_; }
  // The checksum facts of line(), as NmeaLineChecksum(line()) gives them.
  NmeaChecksumScan checksum() const {
    return NmeaChecksumScan{star_, star_ == NmeaChecksumScan::kNoStar ? xor_ : starXor_};
  }
  void Reset();

 private:
  char buf_[kBufferSize] = {};
  size_t size_ = 0;
  size_t star_ = NmeaChecksumScan::kNoStar;  // index of the first '*'
  unsigned xor_ = 0;      // XOR of the characters after a leading '$'
  unsigned starXor_ = 0;  // xor_ when the first '*' came
  bool complete_ = false;  // the buffer holds a finished line; the next byte starts afresh
};

}  // namespace obrix
