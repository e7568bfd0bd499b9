#pragma once
// A GPS reader sink for tests: records every hand-over, paint, message and write (writes also reach the data
// file through the real writers).
#include <chrono>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/ticks.h"
#include "serial/gps_reader.h"

namespace obrix::test {

class RecordingGpsSink : public GpsReaderSink {
 public:
  struct Sent {
    std::string sentence;
    uint32_t tick;
    bool gsa;
  };
  struct Written {
    std::string text;
    uint32_t tick;
    char first, cont, flag;
    long counter;
  };

  void SendSentence(const std::string& sentence, uint32_t tick) override { Add(sent_, Sent{sentence, tick, false}); }
  void SendGsa(const std::string& sentence, uint32_t tick) override { Add(sent_, Sent{sentence, tick, true}); }
  void PaintLinkWarning() override { Add(paints_, TickMs()); }
  void ShowMessage(const std::string& title, const std::string& text) override {
    Add(messages_, title + "|" + text);
    if (onMessage) onMessage();
  }
  void WriteSentence(std::string_view text, uint32_t tick, char first, char cont, char flag, long counter) override {
    Add(written_, Written{std::string(text), tick, first, cont, flag, counter});
    GpsReaderSink::WriteSentence(text, tick, first, cont, flag, counter);
  }
  void WriteEvent(std::string_view text) override {
    Add(events_, std::string(text));
    GpsReaderSink::WriteEvent(text);
  }

  std::vector<Sent> SentList() const { return Get(sent_); }
  std::vector<Written> WrittenList() const { return Get(written_); }
  std::vector<uint32_t> Paints() const { return Get(paints_); }
  std::vector<std::string> Messages() const { return Get(messages_); }
  std::vector<std::string> Events() const { return Get(events_); }

  // Waits until `done()` holds, at most `ms`.
  static bool WaitUntil(const std::function<bool()>& done, int ms) {
    for (int waited = 0; waited < ms; waited += 5) {
      if (done()) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return done();
  }

  std::function<void()> onMessage;  // runs on the reader thread, inside ShowMessage

 private:
  template <class T>
  void Add(std::vector<T>& v, T item) {
    std::lock_guard<std::mutex> lock(mutex_);
    v.push_back(std::move(item));
  }
  template <class T>
  std::vector<T> Get(const std::vector<T>& v) const {
    std::lock_guard<std::mutex> lock(mutex_);
    return v;
  }

  mutable std::mutex mutex_;
  std::vector<Sent> sent_;
  std::vector<Written> written_;
  std::vector<uint32_t> paints_;
  std::vector<std::string> messages_;
  std::vector<std::string> events_;
};

}  // namespace obrix::test
