#include <gtest/gtest.h>

#include <thread>

#include "platform/sound.h"
#include "platform/ticks.h"

namespace obrix {
namespace {

class RecordingSoundTest : public ::testing::Test {
 protected:
  void SetUp() override { clock.Install(); }
  void TearDown() override { ManualClock::Uninstall(); }
  ManualClock clock;
  RecordingSound sound;
};

TEST_F(RecordingSoundTest, WithoutDurationEveryCuePlaysWithItsTick) {
  clock.Set(1000);
  sound.PlayCue(kSoundResult);
  clock.Set(1001);
  sound.PlayCue(kSoundRing);
  const auto cues = sound.Cues();
  ASSERT_EQ(cues.size(), 2u);
  EXPECT_EQ(cues[0].name, kSoundResult);
  EXPECT_EQ(cues[0].tick, 1000u);
  EXPECT_EQ(cues[1].tick, 1001u);
  EXPECT_TRUE(cues[0].played && cues[1].played);
}

// A cue arriving while another still plays is dropped, also across the tick wrap.
TEST_F(RecordingSoundTest, NoStopRuleDropsCuesDuringPlayback) {
  sound.UseNominalLengths();
  struct Step { uint32_t tick; const char* name; bool played; };
  const Step steps[] = {
      {0xFFFFFF00u, kSoundRing, true},       // plays 900 ms, across the wrap
      {0xFFFFFF00u + 899, kSoundResult, false},
      {0xFFFFFF00u + 900, kSoundGpsWarning, true},  // the ring has ended
      {0xFFFFFF00u + 1089, kSoundGpsWarning, false},
      {0xFFFFFF00u + 1090, kSoundResult, true},
      {0xFFFFFF00u + 1140, "SOUND_UNKNOWN", true},  // no length: ends at once
      {0xFFFFFF00u + 1140, kSoundResult, true},
  };
  for (const Step& s : steps) {
    clock.Set(s.tick);
    sound.PlayCue(s.name);
  }
  const auto cues = sound.Cues();
  ASSERT_EQ(cues.size(), std::size(steps));
  for (size_t i = 0; i < cues.size(); ++i) EXPECT_EQ(cues[i].played, steps[i].played) << i;
  EXPECT_EQ(sound.PlayedCount(kSoundResult), 2);
  EXPECT_EQ(sound.Played().size(), 5u);
}

TEST_F(RecordingSoundTest, ProcessWidePlayerIsScopedAndSafeFromThreads) {
  {
    ScopedSound scope(sound);
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
      threads.emplace_back([] {
        for (int i = 0; i < 100; ++i) Sounds().PlayCue(kSoundResult);
      });
    for (auto& t : threads) t.join();
  }
  Sounds().PlayCue(kSoundResult);  // the silent player again
  EXPECT_EQ(sound.Cues().size(), 400u);
}

TEST(SoundRetryTest, FailedDeviceIsTriedAtMostEveryTenSecondsAndEachOutageReportedOnce) {
  SoundRetry retry;
  EXPECT_FALSE(retry.TryAgain(5000)) << "a device that works needs no attempt";
  const uint32_t t0 = 0xFFFFE000u;  // the attempts run across the wrap of the tick counter
  EXPECT_TRUE(retry.Failed(t0));
  EXPECT_FALSE(retry.TryAgain(t0 + 9999));
  EXPECT_TRUE(retry.TryAgain(t0 + 10000));
  EXPECT_FALSE(retry.Failed(t0 + 10010)) << "the same outage";
  EXPECT_FALSE(retry.TryAgain(t0 + 20009));
  EXPECT_TRUE(retry.TryAgain(t0 + 20010));
  retry.Worked();
  EXPECT_FALSE(retry.failing());
  EXPECT_FALSE(retry.TryAgain(t0 + 40000));
  EXPECT_TRUE(retry.Failed(t0 + 50000)) << "a new outage";
}

}  // namespace
}  // namespace obrix
