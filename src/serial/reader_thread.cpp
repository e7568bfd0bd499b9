#include "serial/reader_thread.h"

#include <pthread.h>

#include <chrono>

#include "platform/ticks.h"

namespace obrix {

ReaderThread::~ReaderThread() { Join(); }

bool ReaderThread::Start(std::function<void()> body) {
  if (Held()) return false;
  wake_.Clear();
  ended_ = std::make_shared<std::atomic<bool>>(false);
  auto ended = ended_;
  thread_ = std::thread([ended, body = std::move(body)] {
    body();
    ended->store(true);
  });
  return true;
}

bool ReaderThread::WaitEnded(uint32_t ms) const {
  const uint32_t start = TickMs();
  while (!ended_->load()) {
    if (TickDiff(TickMs(), start) >= ms) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return true;
}

void ReaderThread::Join() {
  if (thread_.joinable()) thread_.join();
}

void NameThisThread(const char* name) {
  char shown[16] = {};
  for (size_t i = 0; i + 1 < sizeof shown && name[i]; ++i) shown[i] = name[i];
  pthread_setname_np(pthread_self(), shown);
}

ReaderThread& GpsReaderThread() {
  static ReaderThread t;
  return t;
}

ReaderThread& InstrumentReaderThread() {
  static ReaderThread t;
  return t;
}

}  // namespace obrix
