#include "monitor/monitor_reader.h"

#include "platform/serial.h"
#include "platform/ticks.h"
#include "serial/port_access.h"
#include "serial/reader_thread.h"

namespace obrix {

void MonitorReader::List(const std::string& line, uint32_t now) {
  sink_.ListLine(line);
  lastListed_ = now;
}

void MonitorReader::Feed(unsigned char byte, uint32_t now) {
  if (byte == '$') {
    line_ = "$";
    open_ = true;
  } else if (byte == '\n') {
    if (open_ && !line_.empty()) {
      // Only a CR is dropped: a receiver ending its lines with LF alone keeps its last character.
      if (line_.back() == '\r') line_.pop_back();
      open_ = false;
      List(line_, now);
      line_.clear();
    }
  } else if (open_) {
    if (line_.size() > kMonitorLineMax) {
      open_ = false;
      line_.clear();
    } else {
      line_ += static_cast<char>(byte);
    }
  }
}

void MonitorReader::Idle(uint32_t now) {
  if (TickDiff(now, lastListed_) >= kMonitorNoDataMs) List(kMonitorNoData, now);
}

MonitorValues& MonitorShared() {
  static MonitorValues values;
  return values;
}

int MonitorReaderLoop(MonitorSink& sink) {
  PortGlobals& ports = Ports();
  MonitorReader reader(sink, TickMs());
  const int wake = GpsReaderThread().WakeFd();
  unsigned char buf[512];
  while (ports.GpsPortHandle != kInvalidPort && ports.GpsPortClosing.load() == 0) {
    if (MonitorShared().MonitorReaderPaused) {
      DelayMs(50);
      continue;
    }
    const int n = SerialReadSome(ports.GpsPortHandle, buf, sizeof buf, kGpsReadTimeoutMs, wake);
    // Paused during the read: what came is dropped, as the purge at Go drops the rest.
    if (MonitorShared().MonitorReaderPaused) continue;
    const uint32_t at = TickMs();
    for (int i = 0; i < n; ++i) reader.Feed(buf[i], at);
    reader.Idle(TickMs());
  }
  return 0;
}

}  // namespace obrix
