#pragma once
// Shared set-up of the serial tests: a private data root, reset ports and reader values, and the port
// messages recorded instead of shown.
#include <gtest/gtest.h>

#include <mutex>
#include <string>
#include <vector>

#include "serial/port_access.h"
#include "serial/reader_state.h"
#include "settings/settings.h"
#include "state/session.h"
#include "test_support.h"

namespace obrix::test {

struct RecordedMessage {
  std::string title;
  std::string text;
};

class MessageLog {
 public:
  void Add(const std::string& title, const std::string& text) {
    std::lock_guard<std::mutex> lock(mutex_);
    messages_.push_back({title, text});
  }
  std::vector<RecordedMessage> All() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return messages_;
  }
  size_t Count() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return messages_.size();
  }

 private:
  mutable std::mutex mutex_;
  std::vector<RecordedMessage> messages_;
};

class SerialTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetPorts();
    ResetReaderValues();
    ResetSession();
    SetPortMessageHandler([this](const std::string& title, const std::string& text) { messages.Add(title, text); });
  }
  void TearDown() override {
    ResetPorts();
    ResetReaderValues();
    ResetSession();
    SetPortMessageHandler(nullptr);
  }

  DataRootFixture root;
  MessageLog messages;
};

}  // namespace obrix::test
