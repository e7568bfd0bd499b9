#pragma once
// Audio cues: the interface the program plays its sounds through, and the silent and recording players.
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

namespace obrix {

// Resource names of the cues.
inline constexpr const char* kSoundResult = "SOUND_RESULT";
inline constexpr const char* kSoundGpsWarning = "SOUND_GPSWARNING";
inline constexpr const char* kSoundRing = "SOUND_RING";
inline constexpr const char* kSoundRing2s = "SOUND_RING_2S";

// Nominal length of a cue in milliseconds (0 for an unknown name).
uint32_t NominalCueLengthMs(const std::string& name);

// Plays a cue asynchronously; the caller never waits. A cue that arrives while another plays is dropped.
// Called from the window thread and the reader threads.
class Sound {
 public:
  virtual ~Sound() = default;
  virtual void PlayCue(const std::string& name) = 0;
};

// The process-wide player; a silent one until SetSound installs another. SetSound(nullptr) restores it.
// The caller keeps ownership and keeps the player alive while it is installed.
Sound& Sounds();
void SetSound(Sound* sound);

class SilentSound : public Sound {
 public:
  void PlayCue(const std::string&) override {}
};

// Records every cue with its tick (TickMs). With a play duration set, it applies the no-stop rule: a cue that
// arrives before the playing one has ended is recorded as dropped.
class RecordingSound : public Sound {
 public:
  struct Cue {
    std::string name;
    uint32_t tick = 0;
    bool played = true;
  };

  void PlayCue(const std::string& name) override;

  // Duration of each cue in ms; nullptr (the default) means cues take no time and none is dropped.
  void SetPlayDuration(std::function<uint32_t(const std::string&)> duration);
  void UseNominalLengths() { SetPlayDuration(NominalCueLengthMs); }

  std::vector<Cue> Cues() const;              // every request, played or dropped
  std::vector<std::string> Played() const;    // names of the cues that played
  int PlayedCount(const std::string& name) const;
  void Clear();

 private:
  mutable std::mutex mutex_;
  std::function<uint32_t(const std::string&)> duration_;
  std::vector<Cue> cues_;
  bool playing_ = false;
  uint32_t playStart_ = 0;
  uint32_t playLength_ = 0;
};

// When a player whose device failed tries it again: at a cue that comes at least kRetryMs after the failure
// or the last attempt (TickMs ticks). Only the failure of a device that worked is to be reported, so each
// outage is told once however often the attempts fail. Not thread-safe: the player guards it.
class SoundRetry {
 public:
  static constexpr uint32_t kRetryMs = 10000;

  // The device failed at `now`; true when it had worked until then (report the failure).
  bool Failed(uint32_t now);
  // The device played.
  void Worked() { failing_ = false; }
  bool failing() const { return failing_; }
  // A cue while failing, at `now`: true when the device is to be tried again (the attempt counts from now).
  bool TryAgain(uint32_t now);

 private:
  bool failing_ = false;
  uint32_t lastAttempt_ = 0;
};

// Installs a player for the life of the scope and restores the previous one.
class ScopedSound {
 public:
  explicit ScopedSound(Sound& sound);
  ~ScopedSound();
  ScopedSound(const ScopedSound&) = delete;
  ScopedSound& operator=(const ScopedSound&) = delete;

 private:
  Sound* previous_;
};

}  // namespace obrix
