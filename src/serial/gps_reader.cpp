#include "serial/gps_reader.h"

#include <cstdlib>

#include "datafile/writers.h"
#include "gps/line_role.h"
#include "platform/serial.h"
#include "platform/sound.h"
#include "platform/ticks.h"
#include "serial/port_access.h"
#include "serial/reader_state.h"
#include "serial/reader_thread.h"
#include "settings/settings.h"
#include "state/session.h"

namespace obrix {
namespace {

bool Recording() { return Sess().LoggingState == Logging && Readers().GpsRecordingOn == 1; }

}  // namespace

void GpsReaderSink::WriteSentence(std::string_view text, uint32_t tick, char firstMark, char contMark,
                                  char fixMark, long lineCounter) {
  WriteGpsSentence(text, tick, firstMark, contMark, '!', fixMark, lineCounter);
}

void GpsReaderSink::WriteEvent(std::string_view text) { WriteEventRecord(text, 'X'); }

GpsLineHandler::GpsLineHandler(GpsReaderSink& sink, const NmeaTable& table) : sink_(sink), table_(table) {}

void GpsLineHandler::Start(uint32_t now) {
  line_.Reset();
  sentence_.clear();
  haveFix_ = false;
  Readers().GpsLastDataTick = now;
}

bool GpsLineHandler::SilenceExpired(uint32_t now) { return TickDiff(now, Readers().GpsLastDataTick) > kGpsSilenceMs; }

uint32_t GpsLineHandler::MsToSilence(uint32_t now) {
  const int32_t left = static_cast<int32_t>(Readers().GpsLastDataTick + kGpsSilenceMs + 1 - now);
  return left < 1 ? 1u : static_cast<uint32_t>(left);
}

void GpsLineHandler::Feed(unsigned char byte, uint32_t now) { Handle(line_.Feed(byte), now); }

size_t GpsLineHandler::Feed(std::string_view bytes, uint32_t now) {
  size_t taken = 0;
  while (taken < bytes.size()) {
    size_t used = 0;
    const NmeaLineAssembler::Event event = line_.Feed(bytes.substr(taken), &used);
    taken += used;
    Handle(event, now);
    if (event == NmeaLineAssembler::Event::LineComplete) break;
  }
  return taken;
}

void GpsLineHandler::Handle(NmeaLineAssembler::Event event, uint32_t now) {
  switch (event) {
    case NmeaLineAssembler::Event::SentenceStart:
      sentenceStart_ = now;
      break;
    case NmeaLineAssembler::Event::LineComplete:
      sentenceTick_ = sentenceStart_;
      CompleteLine(now);
      break;
    case NmeaLineAssembler::Event::None:
      break;
  }
}

void GpsLineHandler::WriteRaw(uint32_t tick) {
  if (Recording()) sink_.WriteSentence(line_.line(), tick, '?', '"', ' ', Readers().GpsLineCounter);
}

void GpsLineHandler::CompleteLine(uint32_t now) {
  const std::string_view text = line_.line();
  if (text.empty() || text[0] != '$') {
    sentenceStart_ = now;
    WriteRaw(sentenceStart_);
    return;
  }
  const LineClass line = ClassifyLine(text, table_, line_.checksum());
  if (line.verdict == LineVerdict::Rejected) {
    WriteRaw(sentenceStart_);
    return;
  }
  sentence_.assign(text);
  Readers().GpsLastDataTick = now;
  Dispatch(line);
}

bool GpsLineHandler::AcceptPosition() {
  ReaderValues& r = Readers();
  const int32_t diff = static_cast<int32_t>(sentenceTick_ - r.GpsLastFixTick);
  if (haveFix_ && std::abs(static_cast<long long>(diff)) <= static_cast<long long>(kGpsFixIntervalMs))
    return false;
  haveFix_ = true;
  r.GpsLastFixTick = sentenceTick_;
  return true;
}

void GpsLineHandler::Dispatch(const LineClass& line) {
  ReaderValues& r = Readers();
  const bool logging = Sess().LoggingState == Logging;
  const bool checked = line.verdict == LineVerdict::Checked;
  if (line.role == LineRole::Position) {
    if (checked && logging) ++r.GpsLineCounter;
    const bool accepted = AcceptPosition();
    if (Recording()) sink_.WriteSentence(sentence_, sentenceTick_, '@', '#', accepted ? 'p' : ' ', r.GpsLineCounter);
    if (accepted) sink_.SendSentence(sentence_, sentenceTick_);
    return;
  }
  const bool gsa = line.role == LineRole::Gsa;
  if (checked) {
    if (gsa && Recording()) sink_.WriteSentence(sentence_, sentenceTick_, '@', '#', ' ', r.GpsLineCounter);
  } else if (logging) {
    ++r.GpsLineCounter;
    sink_.WriteSentence(sentence_, sentenceTick_, '@', '#', ' ', r.GpsLineCounter);
  }
  if (gsa) sink_.SendGsa(sentence_, sentenceTick_);
}

int ReconnectGps(GpsReaderSink& sink) {
  if (Sess().LoggingState == Logging) sink.WriteEvent(kGpsBreakEvent);
  if (Config().disconnectAlarm == 1) Sounds().PlayCue(kSoundRing);
  sink.PaintLinkWarning();
  PortGlobals& ports = Ports();
  SerialClose(ports.GpsPortHandle);
  ports.GpsPortHandle = kInvalidPort;
  const int opened = OpenGpsPort([&sink](const std::string& title, const std::string& text) {
    sink.ShowMessage(title, text);
  });
  Readers().GpsLinkBroken = 0;
  return opened;
}

int GpsReaderLoop(GpsReaderSink& sink) {
  ReaderValues& r = Readers();
  PortGlobals& ports = Ports();
  ports.GpsPortState = 2;
  GpsLineHandler handler(sink);
  handler.Start(TickMs());
  const int wake = GpsReaderThread().WakeFd();
  unsigned char buf[512];
  while (r.GpsReaderRun == 1) {
    // Checked at every read, so a link that streams only garbage is silent as well.
    const uint32_t now = TickMs();
    if (GpsLineHandler::SilenceExpired(now) && r.GpsLinkBroken == 0) {
      r.GpsLinkBroken = 1;
      ReconnectGps(sink);
      r.GpsLastDataTick = TickMs();
      continue;
    }
    const int wait = static_cast<int>(GpsLineHandler::MsToSilence(now));
    const int n = SerialReadSome(ports.GpsPortHandle, buf, sizeof buf, wait, wake);
    const uint32_t at = TickMs();
    const std::string_view bytes(reinterpret_cast<const char*>(buf), n > 0 ? static_cast<size_t>(n) : 0);
    for (size_t i = 0; i < bytes.size() && r.GpsReaderRun == 1;) i += handler.Feed(bytes.substr(i), at);
  }
  ports.GpsPortState = 1;
  return 0;
}

bool StartGpsReader(GpsReaderSink& sink) {
  ReaderThread& t = GpsReaderThread();
  if (t.Held()) return false;
  // Set before the thread starts, so a stop that comes first is never undone by the thread.
  Readers().GpsReaderRun = 1;
  return t.Start([&sink] {
    NameThisThread("gps-reader");
    GpsReaderLoop(sink);
  });
}

void StopGpsReader() {
  Readers().GpsReaderRun = 0;
  GpsReaderThread().Wake();
  GpsReaderThread().Join();
}

}  // namespace obrix
