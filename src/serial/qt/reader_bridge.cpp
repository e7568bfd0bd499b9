#include "serial/qt/reader_bridge.h"

#include <QMetaObject>
#include <QThread>
#include <chrono>
#include <condition_variable>
#include <mutex>

#include "platform/message_box.h"
#include "platform/qt/message_box.h"
#include "serial/port_access.h"
#include "serial/reader_state.h"

namespace obrix {
namespace {

struct CallState {
  std::mutex mutex;
  std::condition_variable cv;
  bool started = false;
  bool done = false;
  bool abandoned = false;
};

bool GpsReaderStopping() { return Readers().GpsReaderRun == 0; }

}  // namespace

bool CallOnWindowThread(QObject* context, std::function<void()> fn, const std::function<bool()>& stop) {
  if (!context) return false;
  if (QThread::currentThread() == context->thread()) {
    fn();
    return true;
  }
  auto state = std::make_shared<CallState>();
  QMetaObject::invokeMethod(
      context,
      [state, fn = std::move(fn)] {
        {
          std::lock_guard<std::mutex> lock(state->mutex);
          if (state->abandoned) return;
          state->started = true;
        }
        fn();
        {
          std::lock_guard<std::mutex> lock(state->mutex);
          state->done = true;
        }
        state->cv.notify_all();
      },
      Qt::QueuedConnection);
  std::unique_lock<std::mutex> lock(state->mutex);
  while (!state->done) {
    if (stop && stop()) {
      state->abandoned = true;
      return false;
    }
    state->cv.wait_for(lock, std::chrono::milliseconds(10));
  }
  return true;
}

ReaderBridge::ReaderBridge(QWidget* owner, ReaderHandlers handlers)
    : owner_(owner), context_(std::make_unique<QObject>()), handlers_(std::move(handlers)) {}

ReaderBridge::~ReaderBridge() { StopReaders(); }

bool ReaderBridge::StartEm38() { return StartEm38Reader(*this); }

bool ReaderBridge::StartGps() { return StartGpsReader(*this); }

void ReaderBridge::StopReaders() {
  StopEm38Reader();
  StopGpsReader();
  generation_.fetch_add(1);
}

void ReaderBridge::Post(std::function<void()> fn) {
  const uint64_t gen = generation_.load();
  QMetaObject::invokeMethod(
      context_.get(),
      [this, gen, fn = std::move(fn)] {
        if (gen == generation_.load()) fn();
      },
      Qt::QueuedConnection);
}

void ReaderBridge::PostRecord(const Em38RecordCopy& record) {
  const uint64_t gen = generation_.load();
  QMetaObject::invokeMethod(
      context_.get(),
      [this, gen, record] {
        if (gen == generation_.load() && handlers_.em38Record) handlers_.em38Record(record);
      },
      Qt::QueuedConnection);
}

void ReaderBridge::PostLinkWarning() {
  if (!handlers_.em38LinkWarning) return;
  Post([h = handlers_.em38LinkWarning] { h(); });
}

void ReaderBridge::CallForGps(std::function<void()> fn) {
  const uint64_t gen = generation_.load();
  CallOnWindowThread(
      context_.get(),
      [this, gen, fn = std::move(fn)] {
        if (gen == generation_.load()) fn();
      },
      GpsReaderStopping);
}

void ReaderBridge::SendSentence(const std::string& sentence, uint32_t tick) {
  if (!handlers_.gpsSentence) return;
  CallForGps([h = handlers_.gpsSentence, sentence, tick] { h(sentence, tick); });
}

void ReaderBridge::SendGsa(const std::string& sentence, uint32_t tick) {
  if (!handlers_.gpsGsa) return;
  CallForGps([h = handlers_.gpsGsa, sentence, tick] { h(sentence, tick); });
}

void ReaderBridge::PaintLinkWarning() {
  if (!handlers_.gpsLinkWarning) return;
  CallForGps([h = handlers_.gpsLinkWarning] { h(); });
}

void ReaderBridge::ShowMessage(const std::string& title, const std::string& text) {
  if (messageUp_->exchange(true)) return;
  // Not through Post: the flag comes down also when the session has ended meanwhile, and only the shared flag
  // is touched once the message has closed (the bridge may be gone by then).
  QPointer<QWidget> owner = owner_;
  const uint64_t gen = generation_.load();
  QMetaObject::invokeMethod(
      context_.get(),
      [this, gen, owner, title, text, up = messageUp_] {
        if (gen == generation_.load()) obrix::ShowMessage(kMessageOk, title, text, owner.data());
        up->store(false);
      },
      Qt::QueuedConnection);
}

void InstallPortMessages(QWidget* owner) {
  if (!owner) {
    SetPortMessageHandler(nullptr);
    return;
  }
  QPointer<QWidget> guarded(owner);
  SetPortMessageHandler([guarded](const std::string& title, const std::string& text) {
    obrix::ShowMessage(kMessageOk, title, text, guarded.data());
  });
}

}  // namespace obrix
