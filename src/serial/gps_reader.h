#pragma once
// The GPS link while logging: line assembly, the checksum rule, recording of the lines, at most one position
// sentence handed over every 910 ms, and the silence watchdog that starts a reconnection.
#include <cstdint>
#include <string>
#include <string_view>

#include "gps/line_assembler.h"
#include "gps/line_role.h"
#include "gps/nmea_table.h"

namespace obrix {

// What the GPS reader hands over and writes. The Send* calls and the painting are synchronous: they return once
// the window thread has handled them, or at once when the reader is being stopped (GpsReaderRun cleared), so a
// window thread that stops the reader never waits for itself. A message never holds the reader up.
class GpsReaderSink {
 public:
  virtual ~GpsReaderSink() = default;
  // A position sentence to decode, with the tick at which its '$' arrived.
  virtual void SendSentence(const std::string& sentence, uint32_t tick) = 0;
  // A GSA sentence (format "GGA/GSA" only).
  virtual void SendGsa(const std::string& sentence, uint32_t tick) = 0;
  // Paints the GPS readouts in the warning colour (the link is broken).
  virtual void PaintLinkWarning() = 0;
  // Shows a message ("MESSAGEOK") without waiting for the user; dropped while an earlier one is still up.
  virtual void ShowMessage(const std::string& title, const std::string& text) = 0;
  // Data-file output; WriteGpsSentence and WriteEventRecord unless overridden.
  virtual void WriteSentence(std::string_view text, uint32_t tick, char firstMark, char contMark, char fixMark,
                             long lineCounter);
  virtual void WriteEvent(std::string_view text);
};

// The byte handling of the reader, fed bytes with their reception ticks. The format table is copied when the
// handler is made, so the window thread may rebuild its table meanwhile.
class GpsLineHandler {
 public:
  explicit GpsLineHandler(GpsReaderSink& sink, const NmeaTable& table = NmeaTab());

  // Clears the buffers and takes `now` as the time of the last data.
  void Start(uint32_t now);
  void Feed(unsigned char byte, uint32_t now);
  // Feeds `bytes` received at `now` up to and including the first line completed (or all of them); returns the
  // number of bytes taken.
  size_t Feed(std::string_view bytes, uint32_t now);
  // now - GpsLastDataTick > 3000 ms.
  static bool SilenceExpired(uint32_t now);
  // Milliseconds from `now` until the silence expires (at least 1).
  static uint32_t MsToSilence(uint32_t now);

 private:
  void Handle(NmeaLineAssembler::Event event, uint32_t now);
  void CompleteLine(uint32_t now);
  void Dispatch(const LineClass& line);
  // The 910 ms rule on the line's tick; true when the position is accepted (GpsLastFixTick advanced).
  bool AcceptPosition();
  void WriteRaw(uint32_t tick);

  GpsReaderSink& sink_;
  NmeaTable table_;
  NmeaLineAssembler line_;
  std::string sentence_;       // the last '$' line taken
  uint32_t sentenceStart_ = 0;
  uint32_t sentenceTick_ = 0;
  bool haveFix_ = false;       // no position has been handed over yet: the first one is always accepted
};

// Thread body: until GpsReaderRun is cleared, checks for silence (ReconnectGps), reads what GpsPortHandle has
// and feeds the handler, waiting for data at most until the silence expires or GpsReaderThread() is woken.
// Sets GpsPortState to 2 while it runs and 1 at the end. Returns 0.
int GpsReaderLoop(GpsReaderSink& sink);

// Sets GpsReaderRun and starts GpsReaderLoop in GpsReaderThread() (the sink must outlive it); false when a
// thread is held there.
bool StartGpsReader(GpsReaderSink& sink);
// Clears GpsReaderRun, wakes the thread and joins it. Safe on the window thread as long as the sink's synchronous calls
// give up once GpsReaderRun is 0; never call it from inside one of them.
void StopGpsReader();

// The reconnection, on the GPS reader thread with GpsLinkBroken already 1: the event "GPS CONN BRK" while
// recording, "SOUND_RING" when disconnectAlarm is 1, the warning colour, close, reopen (a failure is shown
// through the sink, and the reader goes on: the next attempt follows after another 3 s of silence). Clears
// GpsLinkBroken; 1 when the port was reopened.
int ReconnectGps(GpsReaderSink& sink);
inline constexpr const char* kGpsBreakEvent = "GPS CONN BRK";

}  // namespace obrix
