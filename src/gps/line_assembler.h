#pragma once
// Byte-by-byte assembly of GPS lines: '$' starts a line, LF ends it, control and 8-bit bytes are dropped and a
// line longer than 200 characters restarts. No allocation; the completed line stays readable until the next byte.
#include <cstddef>
#include <string_view>

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
  // The completed line (after LineComplete) or the text gathered so far; NUL-terminated, at most 201 characters.
  std::string_view line() const { return std::string_view(buf_, size_); }
  const char* c_str() const { return buf_; }
  size_t size() const { return size_; }
  void Reset();

 private:
  char buf_[kBufferSize] = {};
  size_t size_ = 0;
  bool complete_ = false;  // the buffer holds a finished line; the next byte starts afresh
};

}  // namespace obrix
