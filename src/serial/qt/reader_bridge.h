#pragma once
// Qt glue of the reader threads: hand-overs to the window thread (queued posts of the EM38 records and the
// EM38 link warning, blocking calls for the GPS sentences and the GPS link warning), generation numbers that
// drop work of a stopped session, and the port messages of the reconnections shown as "MESSAGEOK" without
// holding up the reader, at most one at a time.
//
// The logging screen owns one ReaderBridge for a session: it passes its handlers, calls StartEm38() after the
// instrument check and StartGps() once the screen is shown, and StopReaders() (or destroys the bridge) when the
// session ends, before closing the ports (CloseInstrumentPort, CloseGpsPort).
#include <QObject>
#include <QPointer>
#include <QWidget>
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "serial/em38_reader.h"
#include "serial/gps_reader.h"

namespace obrix {

// Runs `fn` on the thread of `context` and waits until it has run. On that thread itself `fn` runs at once.
// Once `stop()` is true the wait ends (false is returned) and an `fn` that has not started never starts, so
// `fn` must own what it uses. A window thread that stops the caller's thread therefore never deadlocks with it.
bool CallOnWindowThread(QObject* context, std::function<void()> fn, const std::function<bool()>& stop);

// The logging screen's handlers, all run on the window thread.
struct ReaderHandlers {
  std::function<void(const Em38RecordCopy&)> em38Record;                // a record to decode (Em38PostEvery)
  std::function<void(const std::string&, uint32_t tick)> gpsSentence;   // a position sentence to decode
  std::function<void(const std::string&, uint32_t tick)> gpsGsa;        // a GSA sentence (format "GGA/GSA")
  std::function<void()> gpsLinkWarning;                                 // paint the GPS readouts in warning colour
  std::function<void()> em38LinkWarning;                                // the instrument readout says it is lost
};

class ReaderBridge : public Em38Sink, public GpsReaderSink {
 public:
  // Create on the window thread. `owner` owns the messages.
  ReaderBridge(QWidget* owner, ReaderHandlers handlers);
  ~ReaderBridge() override;  // stops the readers
  ReaderBridge(const ReaderBridge&) = delete;
  ReaderBridge& operator=(const ReaderBridge&) = delete;

  // Start the readers on the open ports (InstrumentPortHandle, GpsPortHandle); false when one is running.
  bool StartEm38();
  bool StartGps();
  // Stops and joins both readers, and drops whatever they handed over that has not been handled yet. Window
  // thread; never waits for the window thread itself, so it is safe even inside a handler.
  void StopReaders();
  uint64_t generation() const { return generation_.load(); }

  // Sinks, called by the reader threads.
  void PostRecord(const Em38RecordCopy& record) override;
  void PostLinkWarning() override;
  void SendSentence(const std::string& sentence, uint32_t tick) override;
  void SendGsa(const std::string& sentence, uint32_t tick) override;
  void PaintLinkWarning() override;
  // Both readers: queued for the window thread; dropped while a message of either is still up.
  void ShowMessage(const std::string& title, const std::string& text) override;
  // A port message of a reader is up (shown, not yet closed).
  bool MessageUp() const { return messageUp_->load(); }

 private:
  // Runs `fn` on the window thread if the generation is still `gen`; blocking until done or the GPS reader stops.
  void CallForGps(std::function<void()> fn);
  // Queues `fn` for the window thread, where it runs if the generation is still the current one.
  void Post(std::function<void()> fn);

  QPointer<QWidget> owner_;
  std::unique_ptr<QObject> context_;  // lives on the window thread; queued calls die with it
  ReaderHandlers handlers_;
  std::atomic<uint64_t> generation_{1};
  std::shared_ptr<std::atomic<bool>> messageUp_ = std::make_shared<std::atomic<bool>>(false);
};

// Installs the process-wide port message handler: "MESSAGEOK" owned by `owner` (nullptr restores none). Used
// by the port opens on the window thread; the GPS reader shows its messages through its ReaderBridge.
void InstallPortMessages(QWidget* owner);

}  // namespace obrix
