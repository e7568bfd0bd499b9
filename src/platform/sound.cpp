#include "platform/sound.h"

#include <atomic>

#include "platform/ticks.h"

namespace obrix {
namespace {

SilentSound& Silent() {
  static SilentSound silent;
  return silent;
}

std::atomic<Sound*> g_sound{nullptr};

}  // namespace

uint32_t NominalCueLengthMs(const std::string& name) {
  if (name == kSoundResult) return 50;
  if (name == kSoundGpsWarning) return 190;
  if (name == kSoundRing) return 900;
  if (name == kSoundRing2s) return 1900;
  return 0;
}

Sound& Sounds() {
  Sound* s = g_sound.load(std::memory_order_acquire);
  return s ? *s : Silent();
}

void SetSound(Sound* sound) { g_sound.store(sound, std::memory_order_release); }

void RecordingSound::PlayCue(const std::string& name) {
  const uint32_t now = TickMs();
  std::lock_guard<std::mutex> lock(mutex_);
  Cue cue{name, now, true};
  if (playing_ && TickDiff(now, playStart_) < playLength_) {
    cue.played = false;
  } else {
    playing_ = true;
    playStart_ = now;
    playLength_ = duration_ ? duration_(name) : 0;
  }
  cues_.push_back(std::move(cue));
}

void RecordingSound::SetPlayDuration(std::function<uint32_t(const std::string&)> duration) {
  std::lock_guard<std::mutex> lock(mutex_);
  duration_ = std::move(duration);
}

std::vector<RecordingSound::Cue> RecordingSound::Cues() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return cues_;
}

std::vector<std::string> RecordingSound::Played() const {
  std::lock_guard<std::mutex> lock(mutex_);
  std::vector<std::string> names;
  for (const Cue& c : cues_)
    if (c.played) names.push_back(c.name);
  return names;
}

int RecordingSound::PlayedCount(const std::string& name) const {
  std::lock_guard<std::mutex> lock(mutex_);
  int n = 0;
  for (const Cue& c : cues_)
    if (c.played && c.name == name) ++n;
  return n;
}

void RecordingSound::Clear() {
  std::lock_guard<std::mutex> lock(mutex_);
  cues_.clear();
  playing_ = false;
}

bool SoundRetry::Failed(uint32_t now) {
  const bool report = !failing_;
  failing_ = true;
  lastAttempt_ = now;
  return report;
}

bool SoundRetry::TryAgain(uint32_t now) {
  if (!failing_ || TickDiff(now, lastAttempt_) < kRetryMs) return false;
  lastAttempt_ = now;
  return true;
}

ScopedSound::ScopedSound(Sound& sound) : previous_(g_sound.load()) { SetSound(&sound); }
ScopedSound::~ScopedSound() { SetSound(previous_); }

}  // namespace obrix
