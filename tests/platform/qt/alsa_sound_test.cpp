#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "platform/qt/alsa_sound.h"
#include "platform/ticks.h"
#include "test_support.h"

namespace obrix {
namespace {

using Clock = std::chrono::steady_clock;

long MsSince(Clock::time_point t) {
  return static_cast<long>(std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - t).count());
}

// Without a device (as on a machine without a sound card) the player is silent and never blocks.
TEST(AlsaSoundTest, MissingDeviceDegradesToSilence) {
  const auto start = Clock::now();
  AlsaSound sound("obrix_no_such_device");
  EXPECT_FALSE(sound.Available());
  EXPECT_NE(sound.Status().find("obrix_no_such_device"), std::string::npos) << sound.Status();
  for (int i = 0; i < 10000; ++i) sound.PlayCue(i % 2 ? kSoundRing2s : kSoundResult);
  EXPECT_EQ(sound.PlayedCount(), 0u);
  EXPECT_EQ(sound.DroppedCount(), 0u);
  EXPECT_LT(MsSince(start), 1000);

  auto system = MakeSystemSound("obrix_no_such_device");
  EXPECT_NE(dynamic_cast<SilentSound*>(system.get()), nullptr);
}

// ALSA's null device takes samples as fast as they come; the player still keeps each cue for its length.
class NullDeviceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    sound = std::make_unique<AlsaSound>("null");
    if (!sound->Available()) GTEST_SKIP() << sound->Status();
  }
  void WaitForPlayed(uint64_t n) {
    const auto start = Clock::now();
    while (sound->PlayedCount() < n && MsSince(start) < 5000) std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  std::unique_ptr<AlsaSound> sound;
};

TEST_F(NullDeviceTest, CueArrivingDuringPlaybackIsDropped) {
  const auto start = Clock::now();
  sound->PlayCue(kSoundRing);  // 900 ms
  EXPECT_LT(MsSince(start), 100);
  sound->PlayCue(kSoundResult);
  sound->PlayCue(kSoundGpsWarning);
  EXPECT_EQ(sound->DroppedCount(), 2u);
  WaitForPlayed(1);
  EXPECT_GE(MsSince(start), 850);
  sound->PlayCue(kSoundResult);  // the ring has ended
  WaitForPlayed(2);
  EXPECT_EQ(sound->PlayedCount(), 2u);
  EXPECT_EQ(sound->DroppedCount(), 2u);
  sound->PlayCue("SOUND_NONE");  // unknown names are ignored, not counted
  EXPECT_EQ(sound->DroppedCount(), 2u);
}

TEST_F(NullDeviceTest, CuesFromManyThreadsAndPromptShutdown) {
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t)
    threads.emplace_back([this] {
      for (int i = 0; i < 200; ++i) sound->PlayCue(kSoundRing2s);
    });
  for (auto& t : threads) t.join();
  EXPECT_EQ(sound->DroppedCount(), 799u);  // one plays, the rest arrive during its 1.9 s
  const auto start = Clock::now();
  sound.reset();  // stops the cue in progress
  EXPECT_LT(MsSince(start), 500);
}

bool WaitFor(const std::function<bool()>& done, int ms) {
  const auto start = Clock::now();
  while (!done() && MsSince(start) < ms) std::this_thread::sleep_for(std::chrono::milliseconds(5));
  return done();
}

// A device that fails while playing: ALSA's tee plugin writing to a file that is a link to /dev/full. Once the
// link points to /dev/null, the device works again.
TEST(AlsaSoundTest, FailedDeviceIsTriedAgainAtACueTenSecondsLaterAndTheFailureToldOnce) {
  ManualClock clock;
  clock.Install();
  clock.Set(1000);
  test::TempDir dir;
  const std::string out = dir.file("out.raw");
  ASSERT_EQ(symlink("/dev/full", out.c_str()), 0);
  auto retarget = [&](const char* target) {
    ASSERT_EQ(unlink(out.c_str()), 0);
    ASSERT_EQ(symlink(target, out.c_str()), 0);
  };
  auto sound = std::make_unique<AlsaSound>("tee:null,'" + out + "',raw");
  if (!sound->Available()) {
    ManualClock::Uninstall();
    GTEST_SKIP() << sound->Status();
  }
  testing::internal::CaptureStderr();
  sound->PlayCue(kSoundRing);
  EXPECT_TRUE(WaitFor([&] { return !sound->Available(); }, 3000)) << "the write to /dev/full did not fail";
  EXPECT_NE(sound->Status().find("failed"), std::string::npos) << sound->Status();

  // Still failing: the attempt 10 s later fails quietly.
  clock.Advance(10000);
  sound->PlayCue(kSoundRing);
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  EXPECT_FALSE(sound->Available());
  EXPECT_EQ(sound->PlayedCount(), 0u);

  // The device works again, but the next attempt waits for 10 s after the last one.
  retarget("/dev/null");
  clock.Advance(9999);
  sound->PlayCue(kSoundResult);
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  EXPECT_FALSE(sound->Available());
  clock.Advance(1);
  sound->PlayCue(kSoundResult);
  EXPECT_TRUE(WaitFor([&] { return sound->PlayedCount() == 1; }, 3000)) << sound->Status();
  EXPECT_TRUE(sound->Available());
  sound->PlayCue(kSoundResult);
  EXPECT_TRUE(WaitFor([&] { return sound->PlayedCount() == 2; }, 3000));
  sound.reset();
  ManualClock::Uninstall();

  const std::string err = testing::internal::GetCapturedStderr();
  EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
  EXPECT_EQ(err.rfind("Sound: sound device failed: ", 0), 0u) << err;
}

}  // namespace
}  // namespace obrix
