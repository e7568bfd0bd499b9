#pragma once
// The EM38 link: learning the record format from the stream, framing records, keeping every N-th one and
// handing a copy over to the window thread.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace obrix {

// A record as received ('T' and the body, no CR) with the tick of its reception.
struct Em38RecordCopy {
  char text[13] = {};  // NUL-terminated, at most 12 characters
  int length = 0;
  uint32_t tick = 0;
  std::string_view record() const { return std::string_view(text, static_cast<size_t>(length)); }
};

// The format check, fed bytes and their times: 'T' starts counting (the 'T' is 1), a CR ends the count. 7 or 12
// characters succeed, any other count fails at once; no CR within 1000 ms of the 'T' waits for the next 'T';
// no result 2000 ms after the start fails.
class Em38FormatCheck {
 public:
  enum class Result { Pending, Found, Failed };
  static constexpr uint32_t kCheckMs = 2000;
  static constexpr uint32_t kRecordMs = 1000;

  explicit Em38FormatCheck(uint32_t start) : start_(start) {}
  Result Feed(unsigned char byte, uint32_t now);
  // Pending, or Failed once 2000 ms have passed.
  Result Idle(uint32_t now) const;
  int length() const { return length_; }  // 7 or 12 after Found

 private:
  uint32_t start_;
  bool counting_ = false;
  uint32_t countStart_ = 0;
  int count_ = 0;
  int length_ = 0;
};

// Learns the record length from the instrument port (10 ms reads, at most 2 s): sets Em38RecordLength,
// InstrumentPeriodMs (72 or 91) and ReadingsPerInterval. 1 on success, 0 otherwise.
int CheckInstrument();
inline constexpr const char* kConnectionIssueTitle = "Connection Issue";
inline constexpr const char* kConnectionIssueText = "Instrument OFF or Disconnected, or wrong COM port selected";

// What the EM38 reader hands over, shows and writes. None of the calls may block: they queue their work for
// the window thread.
class Em38Sink {
 public:
  virtual ~Em38Sink() = default;
  virtual void PostRecord(const Em38RecordCopy& record) = 0;
  // The instrument readout in the warning colour, saying the instrument is lost.
  virtual void PostLinkWarning() = 0;
  // Shows a message ("MESSAGEOK") without waiting for the user; dropped while an earlier one is still up.
  virtual void ShowMessage(const std::string& title, const std::string& text) = 0;
  // Data-file output; WriteEventRecord unless overridden.
  virtual void WriteEvent(std::string_view text);
};

// The watchdog of the EM38 link, asked on the reader thread: the link breaks once no record has arrived for
// kEm38SilenceMs (InstrumentLastDataTick), and while it stays silent the port is reopened every kEm38ReopenMs.
// A record arriving ends the break. Em38LinkBroken follows the link.
class Em38LinkWatch {
 public:
  enum class Step { Wait, Break, Reopen, Restored };

  // The link counts as alive at `now`.
  void Start(uint32_t now);
  // What to do at `now`. Break and Reopen count as the attempt of `now`: the next one is kEm38ReopenMs later.
  Step Check(uint32_t now);
  // Milliseconds from `now` until Check can next break or reopen the link (at least 1): the reader waits for
  // data at most this long.
  uint32_t MsToNextCheck(uint32_t now) const;

 private:
  uint32_t lastAttempt_ = 0;
};

// The byte handling of the reader: a 200-byte framing buffer discarded beyond 180 bytes, a look-back of
// Em38RecordLength bytes at each CR, the record counter towards Em38PostEvery, the tick sound every sixth
// record while recording.
class Em38Framer {
 public:
  static constexpr size_t kBufferSize = 200;
  static constexpr size_t kDiscardAbove = 180;

  // Feeds one byte received at `now`; true when the record is to be handed over (copied into *out).
  bool Feed(unsigned char byte, uint32_t now, Em38RecordCopy* out);
  void Reset();
  size_t buffered() const { return fill_; }

 private:
  unsigned char buf_[kBufferSize] = {};
  size_t fill_ = 0;
  int tickCounter_ = 0;
};

// The EM38 link's reconnection, on the reader thread: at the break (`first`) the event "EM CONN BR" while
// recording; at every attempt "SOUND_RING" when disconnectAlarm is 1 and the lost-instrument readout; then
// InstrumentPortHandle is closed and opened again through the port's link (a failure is shown through the
// sink). 1 when the port was reopened.
int ReconnectEm38(Em38Sink& sink, bool first);
inline constexpr const char* kEm38BreakEvent = "EM CONN BR";

// Thread body: until Em38ReaderRun is cleared, reads what InstrumentPortHandle has and frames it, waiting for
// data at most until the link watchdog's next step or a wake-up of InstrumentReaderThread(). Sets
// InstrumentPortState to 2 while it runs and back to 1 at the end. Returns 0.
int Em38ReaderLoop(Em38Sink& sink);

// Starts Em38ReaderLoop in InstrumentReaderThread() (the sink must outlive it); false when one is held.
bool StartEm38Reader(Em38Sink& sink);
// Clears Em38ReaderRun, wakes the thread and joins it (it ends at once; it never waits for the window thread).
void StopEm38Reader();

}  // namespace obrix
