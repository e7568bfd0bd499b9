#pragma once
// A reader thread holder: starts a body on a std::thread, tells when the body has returned, waits for it with a
// time-out measured on TickMs, and joins it.
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <thread>

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

 private:
  std::thread thread_;
  std::shared_ptr<std::atomic<bool>> ended_ = std::make_shared<std::atomic<bool>>(true);
};

// The GPS reader thread (the logging GPS reader or the GPS monitor's reader) and the EM38 reader thread.
ReaderThread& GpsReaderThread();
ReaderThread& InstrumentReaderThread();

}  // namespace obrix
