#pragma once
// The system player: the cue resources decoded at load and played on a thread of its own through ALSA.
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/sound.h"

typedef struct _snd_pcm snd_pcm_t;

namespace obrix {

class AlsaSound : public Sound {
 public:
  // Opens `device`, without waiting for it, and loads the cues. When the device cannot be opened or
  // configured here, the player stays silent for its whole life (Status() tells why) and never tries again.
  // When playback fails later, the device is closed, the failure is told once on standard error, and a cue
  // that comes at least 10 s after the failure or the last attempt opens it again (SoundRetry).
  explicit AlsaSound(const std::string& device = "default");
  ~AlsaSound() override;  // stops a cue in progress and joins the player thread
  AlsaSound(const AlsaSound&) = delete;
  AlsaSound& operator=(const AlsaSound&) = delete;

  // Returns at once. The cue is dropped while another plays (for at least its own length), when its name
  // is unknown, or when the player is silent (unless it is time to try a failed device again). Safe from any
  // thread.
  void PlayCue(const std::string& name) override;

  // The device is open and has not failed since.
  bool Available() const { return available_.load(); }
  std::string Status() const;
  uint64_t PlayedCount() const { return played_.load(); }    // cues finished
  uint64_t DroppedCount() const { return dropped_.load(); }  // cues refused by the no-stop rule

 private:
  struct Clip {
    std::string name;
    std::vector<int16_t> samples;  // interleaved stereo at kCueOutputRate
    uint32_t lengthMs = 0;
  };

  // Opens and configures device_ into pcm_; false with the reason in the status.
  bool OpenDevice();
  void LoadClips();
  void Run();
  bool Play(const Clip& clip);  // false when the device failed for good
  void WaitUntilIdle();
  void SetStatus(std::string status);

  const std::string device_;
  snd_pcm_t* pcm_ = nullptr;  // the player thread's once it runs
  std::vector<Clip> clips_;  // fixed after construction, read by any thread
  mutable std::mutex mutex_;
  SoundRetry retry_;          // under mutex_
  std::condition_variable wake_;
  const Clip* pending_ = nullptr;
  bool stop_ = false;
  std::string status_;
  std::atomic<bool> available_{false};
  std::atomic<bool> busy_{false};
  std::atomic<uint64_t> played_{0};
  std::atomic<uint64_t> dropped_{0};
  std::thread thread_;
};

// The player the program installs: an AlsaSound on `device`, or a SilentSound when no device can be opened.
std::unique_ptr<Sound> MakeSystemSound(const std::string& device = "default");

}  // namespace obrix
