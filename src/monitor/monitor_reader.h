#pragma once
// The GPS monitor's reader: every line the receiver sends, unfiltered and unchecked, and "NO DATA" after 7 s
// without a line.
#include <cstdint>
#include <string>

#include "platform/shared_value.h"

namespace obrix {

// What the monitor reader hands over: one line to list (a copy; the reader never waits for the taker).
class MonitorSink {
 public:
  virtual ~MonitorSink() = default;
  virtual void ListLine(const std::string& line) = 0;
};

inline constexpr const char* kMonitorNoData = "NO DATA";
inline constexpr uint32_t kMonitorNoDataMs = 7001;
inline constexpr size_t kMonitorLineMax = 200;

// Byte rules of the monitor: '$' opens a line; LF ends an open, non-empty line (a CR before the LF is dropped);
// other bytes are appended to an open line, or discard it once it holds more than 200 characters. Bytes before
// the first '$' are ignored; nothing else is filtered.
class MonitorReader {
 public:
  MonitorReader(MonitorSink& sink, uint32_t now) : sink_(sink), lastListed_(now) {}

  void Feed(unsigned char byte, uint32_t now);
  // Lists "NO DATA" when 7001 ms or more have passed since the last line was listed, and restarts the count.
  void Idle(uint32_t now);

 private:
  void List(const std::string& line, uint32_t now);

  MonitorSink& sink_;
  std::string line_;
  bool open_ = false;
  uint32_t lastListed_;
};

// Values the monitor window shares with its reader.
struct MonitorValues {
  Shared<int> MonitorReaderPaused = 0;  // 1: the reader does not read (paused, sending, or closing)
};
MonitorValues& MonitorShared();

// Thread body: while GpsPortHandle is valid and GpsPortClosing is 0, waits 50 ms while paused, else reads what
// the port has (50 ms time-out, or until the GPS reader thread is woken) and feeds a MonitorReader. Returns 0.
int MonitorReaderLoop(MonitorSink& sink);

}  // namespace obrix
