#pragma once
// A reader thread holder: starts a body on a std::thread, tells when the body has returned, waits for it with a
// time-out measured on TickMs, and joins it. Its wake-up descriptor lets a stop reach a body waiting in poll.
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <thread>

#include "platform/wake_event.h"

namespace obrix {

class ReaderThread {
 public:
  ReaderThread() = default;
  ~ReaderThread();  // joins a thread that is still held
  ReaderThread(const ReaderThread&) = delete;
  ReaderThread& operator=(const ReaderThread&) = delete;

  // Starts `body`; false when a thread is still held (started and not joined).
  bool Start(std::function<void()> body);
  // A thread is held (started and not yet joined).
  bool Held() const { return thread_.joinable(); }
  // The body is running (started and not yet returned).
  bool Running() const { return Held() && !ended_->load(); }
  // Waits until the body has returned or `ms` milliseconds (TickMs) have passed; true when it has returned (or
  // no thread is held).
  bool WaitEnded(uint32_t ms) const;
  // Joins the thread if one is held. Only call when the body is sure to return.
  void Join();
  // The descriptor the body waits on beside its port; Wake() signals it (after the run flag is cleared), so
  // the body's wait returns at once. Start() clears a signal left from before.
  int WakeFd() const { return wake_.fd(); }
  void Wake() { wake_.Signal(); }

 private:
  std::thread thread_;
  WakeEvent wake_;
  std::shared_ptr<std::atomic<bool>> ended_ = std::make_shared<std::atomic<bool>>(true);
};

// Names the calling thread (at most 15 characters shown), as tools like top show it.
void NameThisThread(const char* name);

// The GPS reader thread (the logging GPS reader or the GPS monitor's reader) and the EM38 reader thread.
ReaderThread& GpsReaderThread();
ReaderThread& InstrumentReaderThread();

}  // namespace obrix
