// A rate set faster than the EM38 delivers: at Logging the 91 ms record form is learnt from a simulated EM38
// over a pseudo-terminal, the operator is told the rate recorded, and the data file states it.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "datafile/records.h"
#include "logscreen/qt/session_fixture.h"
#include "platform/pty_link.h"
#include "platform/qt/scripted_prompts.h"
#include "platform/ticks.h"
#include "settings/settings.h"
#include "sim/em38_stream.h"
#include "state/session.h"
#include "test_support.h"

namespace obrix {
namespace {

class ReadingRateSessionTest : public test::LoggingSessionFixture {};

TEST_F(ReadingRateSessionTest, LongRecordFormAtAFasterSetRateIsToldAndStatedInTheHeader) {
  PtyLink em;
  std::string error;
  ASSERT_TRUE(em.Open(PtyLink::PortLinkPath("COM4"), &error)) << error;
  std::atomic<bool> run{true};
  std::thread device([&] {
    sim::Em38Options o;
    o.length = 12;
    sim::Scenario scenario;
    sim::Em38Stream stream(o, scenario, TickMs());
    std::string out;
    while (run) {
      out.clear();
      stream.Generate(TickMs(), &out);
      if (!out.empty()) em.Write(out);
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
  });

  Open();
  Config().instrumentEnabled = 1;
  Config().gpsInput = 0;
  Config().readingInterval = 0.05;  // 20 readings per second
  prompts_ << PromptAnswer::Press(IDOK, "MESSAGEOK");
  StartSession();
  ASSERT_GE(prompts_.Calls().size(), 1u);
  EXPECT_EQ(prompts_.Calls()[0].title, "INFORMATION");
  EXPECT_EQ(prompts_.Calls()[0].text,
            "The EM38 sends a record every 91 ms.\r\nReadings/second recorded: 10.99\r\nThe data file states this rate.");
  OpenFileAndGo();
  test::PumpFor(1500);
  PauseAndExit();
  run = false;
  device.join();

  const std::string bytes = test::ReadFile(path_);
  ASSERT_EQ(bytes.size() % RecordLength, 0u);
  EXPECT_EQ(bytes.substr(RecordLength + 11, 7), "  0.091");
  // The readings are as far apart as the header says (their ticks are the reception times).
  std::vector<uint32_t> ticks;
  for (size_t i = 0; i + RecordLength <= bytes.size(); i += RecordLength)
    if (bytes[i] == 'T') ticks.push_back(static_cast<uint32_t>(std::stoul(bytes.substr(i + 16, 10))));
  ASSERT_GE(ticks.size(), 5u);
  const double mean = double(ticks.back() - ticks.front()) / double(ticks.size() - 1);
  EXPECT_GT(mean, 85.0);
  EXPECT_EQ(Config().readingInterval, 0.05) << "the operator's setting is kept for the next session";
}

}  // namespace
}  // namespace obrix
