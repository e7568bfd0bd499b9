#include "serial/qt/reader_bridge.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QThread>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <thread>
#include <vector>

#include "gps/nmea_fields.h"
#include "platform/control_ids.h"
#include "platform/qt/prompts.h"
#include "platform/qt/scripted_prompts.h"
#include "serial/pty_port.h"
#include "serial/serial_fixture.h"

namespace obrix {
namespace {

using Clock = std::chrono::steady_clock;

// Processes events until `done()` or `ms` have passed.
bool PumpUntil(const std::function<bool()>& done, int ms) {
  const auto end = Clock::now() + std::chrono::milliseconds(ms);
  while (!done() && Clock::now() < end) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return done();
}

TEST(CallOnWindowThread, RunsOnTheWindowThreadOrGivesUpWhenStopped) {
  const struct {
    bool stopFirst;
    bool result;
    int runs;
  } cases[] = {{false, true, 1}, {true, false, 0}};
  for (const auto& c : cases) {
    QObject context;
    std::atomic<bool> stop{false};
    std::atomic<int> runs{0};
    std::atomic<bool> onWindowThread{false};
    std::atomic<bool> finished{false};
    bool result = !c.result;
    std::thread caller([&] {
      result = CallOnWindowThread(
          &context,
          [&] {
            onWindowThread = QThread::currentThread() == context.thread();
            ++runs;
          },
          [&] { return stop.load(); });
      finished = true;
    });
    if (c.stopFirst) {
      // The window thread is busy (not processing events); the stop still releases the caller.
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
      stop = true;
      caller.join();
      PumpUntil([] { return false; }, 50);
    } else {
      EXPECT_TRUE(PumpUntil([&] { return finished.load(); }, 2000));
      caller.join();
      EXPECT_TRUE(onWindowThread);
    }
    EXPECT_EQ(result, c.result) << c.stopFirst;
    EXPECT_EQ(runs, c.runs) << c.stopFirst;
  }
}

class ReaderBridgeTest : public test::SerialTest {};

TEST_F(ReaderBridgeTest, RecordsAndLinkWarningsOfAStoppedSessionAreDropped) {
  std::vector<std::string> handled;
  ReaderHandlers h;
  h.em38Record = [&](const Em38RecordCopy& r) { handled.emplace_back(r.record()); };
  h.em38LinkWarning = [&] { handled.emplace_back("lost"); };
  ReaderBridge bridge(nullptr, h);
  Em38RecordCopy record;
  std::snprintf(record.text, sizeof record.text, "T\x01-0042");
  record.length = 7;
  auto post = [&] {
    std::thread([&] {
      bridge.PostRecord(record);
      bridge.PostLinkWarning();
    }).join();
  };
  post();
  bridge.StopReaders();  // before the window thread handled them
  PumpUntil([] { return false; }, 30);
  EXPECT_TRUE(handled.empty());
  post();
  EXPECT_TRUE(PumpUntil([&] { return handled.size() == 2; }, 1000));
  EXPECT_EQ(handled, (std::vector<std::string>{"T\x01-0042", "lost"}));
}

TEST_F(ReaderBridgeTest, StoppingWhileTheGpsReaderWaitsForTheWindowThreadDoesNotDeadlock) {
  test::PtyPort pty(5);
  ASSERT_TRUE(pty.ok());
  Config().gpsPort = 5;
  BuildNmeaTable();
  ASSERT_EQ(OpenGpsPort(), 1);
  std::vector<std::string> sentences;
  ReaderHandlers h;
  h.gpsSentence = [&](const std::string& s, uint32_t) { sentences.push_back(s); };
  ReaderBridge bridge(nullptr, h);
  ASSERT_TRUE(bridge.StartGps());
  const std::string body = "GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,";
  char line[128];
  std::snprintf(line, sizeof line, "$%s*%02X\r\n", body.c_str(), NmeaXor("$" + body));
  ASSERT_TRUE(pty.Write(line));
  EXPECT_TRUE(PumpUntil([&] { return sentences.size() == 1; }, 2000));
  EXPECT_EQ(sentences[0], std::string(line).substr(0, std::string(line).size() - 2));

  // The next sentence is accepted after 910 ms; the window thread does not process events meanwhile, so the
  // reader is blocked in its hand-over when the stop comes.
  std::this_thread::sleep_for(std::chrono::milliseconds(1100));
  ASSERT_TRUE(pty.Write(line));
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  const auto start = Clock::now();
  bridge.StopReaders();
  EXPECT_LT(Clock::now() - start, std::chrono::milliseconds(500));
  PumpUntil([] { return false; }, 50);
  EXPECT_EQ(sentences.size(), 1u);
  EXPECT_EQ(Ports().GpsPortState, 1);
}

TEST_F(ReaderBridgeTest, ReaderMessagesNeverWaitAndOnlyOneIsUpAtATime) {
  ScriptedPrompts prompts;
  ReaderBridge bridge(nullptr, {});
  auto fromReader = [&](const std::string& text) { std::thread([&] { bridge.ShowMessage("Serial Port", text); }).join(); };
  // While the first is up, the other reader's message is dropped.
  int polls = 0;
  prompts << PromptAnswer::Press(IDOK, "MESSAGEOK").HoldWhile([&] {
    if (++polls == 1) fromReader("COM4 dropped");
    return polls < 10;
  });
  prompts << PromptAnswer::Press(IDOK, "MESSAGEOK");
  SetPrompts(&prompts);
  // The reader goes on at once, before the window thread has shown anything.
  std::thread([&] {
    ReportPortError(kErrorFileNotFound, 5, kPortKindGps, [&](const std::string& t, const std::string& x) {
      bridge.ShowMessage(t, x);
    });
  }).join();
  EXPECT_TRUE(prompts.Calls().empty());
  EXPECT_TRUE(bridge.MessageUp());
  fromReader("COM6 dropped");
  EXPECT_TRUE(PumpUntil([&] { return !bridge.MessageUp(); }, 2000));
  // Once it is closed, the next message shows.
  fromReader("Port COM6 does not exists");
  EXPECT_TRUE(PumpUntil([&] { return prompts.Calls().size() == 2 && !bridge.MessageUp(); }, 2000));
  SetPrompts(nullptr);
  ASSERT_EQ(prompts.Calls().size(), 2u);
  for (const PromptCall& call : prompts.Calls()) {
    EXPECT_EQ(call.templateName, "MESSAGEOK");
    EXPECT_EQ(call.title, "Serial Port");
    EXPECT_EQ(call.text, "Port COM6 does not exists");
  }
  EXPECT_EQ(polls, 10);
}

}  // namespace
}  // namespace obrix
