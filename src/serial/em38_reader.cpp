#include "serial/em38_reader.h"

#include <algorithm>
#include <cstring>

#include "datafile/writers.h"
#include "platform/serial.h"
#include "platform/sound.h"
#include "platform/ticks.h"
#include "serial/port_access.h"
#include "serial/reader_state.h"
#include "serial/reader_thread.h"
#include "settings/settings.h"
#include "state/session.h"

namespace obrix {

Em38FormatCheck::Result Em38FormatCheck::Feed(unsigned char byte, uint32_t now) {
  if (counting_ && TickDiff(now, countStart_) > kRecordMs) counting_ = false;
  if (TickDiff(now, start_) > kCheckMs) return Result::Failed;
  if (!counting_) {
    if (byte == 'T') {
      counting_ = true;
      countStart_ = now;
      count_ = 1;
    }
    return Result::Pending;
  }
  if (byte != '\r') {
    ++count_;
    return Result::Pending;
  }
  if (count_ == 7 || count_ == 12) {
    length_ = count_;
    return Result::Found;
  }
  return Result::Failed;
}

Em38FormatCheck::Result Em38FormatCheck::Idle(uint32_t now) const {
  return TickDiff(now, start_) > kCheckMs ? Result::Failed : Result::Pending;
}

int CheckInstrument() {
  ReaderValues& r = Readers();
  r.Em38RecordLength = 7;
  DelayMs(10);
  const int fd = Ports().InstrumentPortHandle;
  Em38FormatCheck check(TickMs());
  for (;;) {
    unsigned char byte = 0;
    const bool got = SerialReadByte(fd, kInstrumentReadTimeoutMs, &byte) == 1;
    const uint32_t now = TickMs();
    const auto result = got ? check.Feed(byte, now) : check.Idle(now);
    if (result == Em38FormatCheck::Result::Failed) return 0;
    if (result == Em38FormatCheck::Result::Found) {
      r.Em38RecordLength = check.length();
      Drv().InstrumentPeriodMs = check.length() == 12 ? 91.0 : 72.0;
      UpdateReadingsPerInterval();
      return 1;
    }
  }
}

void Em38Framer::Reset() {
  fill_ = 0;
  tickCounter_ = 0;
}

bool Em38Framer::Feed(unsigned char byte, uint32_t now, Em38RecordCopy* out) {
  ReaderValues& r = Readers();
  buf_[fill_++] = byte;
  if (fill_ > kDiscardAbove) {
    fill_ = 0;
    return false;
  }
  const size_t length = static_cast<size_t>(std::clamp(static_cast<int>(r.Em38RecordLength), 1, 12));
  if (byte != '\r' || fill_ - 1 < length) return false;
  const int every = std::max(1, static_cast<int>(r.Em38PostEvery));
  const unsigned char* candidate = buf_ + (fill_ - 1 - length);
  if (candidate[0] != 'T') {
    // Counted but not handed over; the buffer stays, so the next CR looks back again.
    if (++r.Em38RecordCounter >= every) r.Em38RecordCounter = 0;
    return false;
  }
  r.InstrumentLastDataTick = now;
  const int counter = ++r.Em38RecordCounter;
  Em38RecordCopy copy;
  std::memcpy(copy.text, candidate, length);
  copy.text[length] = '\0';
  copy.length = static_cast<int>(length);
  copy.tick = now;
  r.Em38RecordTick = now;
  if (Config().audioTicks == 1 && Sess().LoggingState == Logging && ++tickCounter_ >= 6) {
    Sounds().PlayCue(kSoundResult);
    tickCounter_ = 0;
  }
  fill_ = 0;
  // ">=" so that a post interval lowered without a counter reset still posts.
  if (counter >= every) {
    r.Em38RecordCounter = 0;
    if (out) *out = copy;
    return true;
  }
  return false;
}

void Em38Sink::WriteEvent(std::string_view text) { WriteEventRecord(text, 'X'); }

void Em38LinkWatch::Start(uint32_t now) {
  ReaderValues& r = Readers();
  r.InstrumentLastDataTick = now;
  r.Em38LinkBroken = 0;
  lastAttempt_ = now;
}

Em38LinkWatch::Step Em38LinkWatch::Check(uint32_t now) {
  ReaderValues& r = Readers();
  const bool silent = TickDiff(now, r.InstrumentLastDataTick) > kEm38SilenceMs;
  if (r.Em38LinkBroken == 0) {
    if (!silent) return Step::Wait;
    r.Em38LinkBroken = 1;
    lastAttempt_ = now;
    return Step::Break;
  }
  // The last record is more recent than the silence that broke the link.
  if (!silent) {
    r.Em38LinkBroken = 0;
    return Step::Restored;
  }
  if (TickDiff(now, lastAttempt_) <= kEm38ReopenMs) return Step::Wait;
  lastAttempt_ = now;
  return Step::Reopen;
}

uint32_t Em38LinkWatch::MsToNextCheck(uint32_t now) const {
  const ReaderValues& r = Readers();
  // Silent once more than kEm38SilenceMs have passed; reopened once more than kEm38ReopenMs have.
  const uint32_t step = r.Em38LinkBroken == 0 ? r.InstrumentLastDataTick + kEm38SilenceMs + 1
                                              : lastAttempt_ + kEm38ReopenMs + 1;
  const int32_t left = static_cast<int32_t>(step - now);
  return left < 1 ? 1u : static_cast<uint32_t>(left);
}

int ReconnectEm38(Em38Sink& sink, bool first) {
  if (first && Sess().LoggingState == Logging) sink.WriteEvent(kEm38BreakEvent);
  if (Config().disconnectAlarm == 1) Sounds().PlayCue(kSoundRing);
  sink.PostLinkWarning();
  PortGlobals& ports = Ports();
  SerialClose(ports.InstrumentPortHandle);
  ports.InstrumentPortHandle = kInvalidPort;
  const int opened = ReopenInstrumentPort([&sink](const std::string& title, const std::string& text) {
    sink.ShowMessage(title, text);
  });
  if (opened) SerialPurge(ports.InstrumentPortHandle);
  return opened;
}

int Em38ReaderLoop(Em38Sink& sink) {
  ReaderValues& r = Readers();
  PortGlobals& ports = Ports();
  r.Em38RecordCounter = 0;
  ports.InstrumentPortState = 2;
  SerialPurge(ports.InstrumentPortHandle);
  Em38Framer framer;
  Em38LinkWatch watch;
  watch.Start(TickMs());
  const int wake = InstrumentReaderThread().WakeFd();
  unsigned char buf[256];
  while (r.Em38ReaderRun == 1) {
    const uint32_t now = TickMs();
    const Em38LinkWatch::Step step = watch.Check(now);
    if (step == Em38LinkWatch::Step::Break || step == Em38LinkWatch::Step::Reopen) {
      ReconnectEm38(sink, step == Em38LinkWatch::Step::Break);
      framer.Reset();
      continue;
    }
    const int wait = static_cast<int>(watch.MsToNextCheck(now));
    const int n = SerialReadSome(ports.InstrumentPortHandle, buf, sizeof buf, wait, wake);
    const uint32_t at = TickMs();
    for (int i = 0; i < n; ++i) {
      Em38RecordCopy copy;
      if (framer.Feed(buf[i], at, &copy)) sink.PostRecord(copy);
    }
  }
  ports.InstrumentPortState = 1;
  return 0;
}

bool StartEm38Reader(Em38Sink& sink) {
  ReaderThread& t = InstrumentReaderThread();
  if (t.Held()) return false;
  Readers().Em38ReaderRun = 1;
  return t.Start([&sink] {
    NameThisThread("em38-reader");
    Em38ReaderLoop(sink);
  });
}

void StopEm38Reader() {
  Readers().Em38ReaderRun = 0;
  InstrumentReaderThread().Wake();
  InstrumentReaderThread().Join();
}

}  // namespace obrix
