// A recorded survey replayed through both simulator programs over real pseudo-terminals and recorded again by
// the logging screen: the same readings and sentences come back in the same order.
#include <QApplication>
#include <QPushButton>
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "app/qt/setup_window.h"
#include "datafile/data_file.h"
#include "datafile/survey_events.h"
#include "logscreen/qt/log_window.h"
#include "logscreen/qt/session_fixture.h"
#include "platform/control_ids.h"
#include "platform/qt/scripted_prompts.h"
#include "platform/sound.h"
#include "platform/ticks.h"
#include "serial/port_access.h"
#include "serial/reader_state.h"
#include "settings/settings.h"
#include "sim/replay_fixture.h"
#include "sim/replay_stream.h"
#include "sim/sim_process.h"
#include "state/session.h"
#include "test_support.h"

namespace obrix {
namespace {

using test::PumpFor;
using test::PumpUntil;

// The readings (as they go over the wire) and sentence texts of a data file, in file order.
void ReadBack(const std::string& path, std::vector<std::string>* readings, std::vector<std::string>* sentences) {
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  ASSERT_GE(fd, 0) << path;
  SurveyEventReader reader(fd);
  SurveyEvent e;
  while (reader.Next(e)) {
    if (e.kind == SurveyEventKind::Reading) readings->push_back(sim::ReplayInstrumentRecord(e.text));
    if (e.kind == SurveyEventKind::Sentence || e.kind == SurveyEventKind::RawLine) sentences->push_back(e.text);
  }
  close(fd);
  EXPECT_EQ(reader.skipped(), 0);
}

// `got` is the end of `want`: what the replay sent before recording started is missing, nothing else.
void ExpectTail(const std::vector<std::string>& got, const std::vector<std::string>& want, const char* what) {
  SCOPED_TRACE(what);
  ASSERT_LE(got.size(), want.size());
  ASSERT_GE(got.size() * 2, want.size()) << "less than half of the replay was recorded";
  const auto from = want.end() - static_cast<long>(got.size());
  for (size_t i = 0; i < got.size(); ++i) EXPECT_EQ(got[i], *(from + static_cast<long>(i))) << "item " << i;
}

class ReplaySurveyTest : public test::LoggingSessionFixture {};

TEST_F(ReplaySurveyTest, ReplayedSurveyIsRecordedAgainAsItWas) {
  // Two logging sessions (the second appended), the first across the wrap of the tick counter, with a raw line.
  const std::string original = root_.dir().file("recorded.T38");
  const test::ReplayContent survey =
      test::MakeSurvey({{0xFFFFF000u, 4000, true, true, "JUNK-LINE-1", 0, 0}, {123456, 2000, true, true, "", 200, 10}});
  test::WriteFile(original, survey.bytes);

  Open();
  Config().readingInterval = 0.072;  // one reading per 72 ms record: every replayed record is kept

  test::SimProcess em, gps;
  ASSERT_TRUE(em.Start("em38-sim", {"--replay", original, "--speed", "2"}, root_.dir().path()));
  ASSERT_TRUE(gps.Start("gnss-sim", {"--replay", original, "--speed", "2"}, root_.dir().path()));
  ASSERT_NE(test::WaitForLink(root_.dir().file("ports/COM4"), 5000), "") << em.ReadOutput(100);
  ASSERT_NE(test::WaitForLink(root_.dir().file("ports/COM6"), 5000), "") << gps.ReadOutput(100);

  StartSession();
  OpenFileAndGo();

  // 4 + 1 + 2 s of survey at twice the speed; both programs end by themselves once their port is drained.
  ASSERT_TRUE(PumpUntil([&] { return em.ReadOutput(0).find("replay finished") != std::string::npos; }, 8000));
  ASSERT_TRUE(PumpUntil([&] { return gps.ReadOutput(0).find("replay finished") != std::string::npos; }, 3000));
  PumpFor(300);
  PauseAndExit();
  EXPECT_EQ(em.Wait(3000), 0);
  EXPECT_EQ(gps.Wait(3000), 0);

  std::vector<std::string> readings, sentences;
  ReadBack(path_, &readings, &sentences);
  ExpectTail(readings, survey.readings, "readings");
  ExpectTail(sentences, survey.sentences, "sentences");
  // The recording reached into the second session.
  EXPECT_GT(readings.size(), 2000u / 72);
}

}  // namespace
}  // namespace obrix
