#include "platform/qt/alsa_sound.h"

#include <alsa/asoundlib.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>

#include "platform/pcm_convert.h"
#include "platform/ticks.h"
#include "platform/qt/wav_decode.h"

namespace obrix {
namespace {

constexpr unsigned kLatencyUs = 100000;
constexpr snd_pcm_uframes_t kChunkFrames = 512;
constexpr int kWaitMs = 50;

// ALSA reports every failed open of a missing card on stderr, several lines each time; the player
// reports through Status() instead.
void QuietAlsa(const char*, int, const char*, int, const char*, ...) {}

void SilenceAlsaLog() {
  static std::once_flag once;
  std::call_once(once, [] { snd_lib_error_set_handler(QuietAlsa); });
}

}  // namespace

AlsaSound::AlsaSound(const std::string& device) : device_(device) {
  SilenceAlsaLog();
  if (!OpenDevice()) return;
  LoadClips();
  available_ = true;
  thread_ = std::thread([this] { Run(); });
}

bool AlsaSound::OpenDevice() {
  // Non-blocking, also for the writes: a device held by another program fails at once instead of hanging
  // the caller, and a stalled device cannot keep the player thread from stopping.
  int rc = snd_pcm_open(&pcm_, device_.c_str(), SND_PCM_STREAM_PLAYBACK, SND_PCM_NONBLOCK);
  if (rc < 0) {
    pcm_ = nullptr;
    SetStatus("no sound device \"" + device_ + "\": " + snd_strerror(rc));
    return false;
  }
  rc = snd_pcm_set_params(pcm_, SND_PCM_FORMAT_S16, SND_PCM_ACCESS_RW_INTERLEAVED, kCueOutputChannels,
                          kCueOutputRate, 1, kLatencyUs);
  if (rc < 0) {
    SetStatus("sound device \"" + device_ + "\" refused the output format: " + snd_strerror(rc));
    snd_pcm_close(pcm_);
    pcm_ = nullptr;
    return false;
  }
  SetStatus("playing on \"" + device_ + "\"");
  return true;
}

AlsaSound::~AlsaSound() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stop_ = true;
  }
  wake_.notify_all();
  if (thread_.joinable()) thread_.join();
  if (pcm_) snd_pcm_close(pcm_);
}

void AlsaSound::LoadClips() {
  for (const char* name : {kSoundResult, kSoundGpsWarning, kSoundRing, kSoundRing2s}) {
    std::string error;
    const std::string image = SoundResource(name);
    auto decoded = image.empty() ? std::nullopt : DecodeSound(image, &error);
    if (!decoded || decoded->frames == 0) {
      std::fprintf(stderr, "Sound %s: %s\n", name, image.empty() ? "no such resource" : error.c_str());
      continue;
    }
    Clip clip;
    clip.name = name;
    clip.samples = ToStereo(decoded->samples, decoded->channels, decoded->rate, kCueOutputRate);
    clip.lengthMs = static_cast<uint32_t>(clip.samples.size() / kCueOutputChannels * 1000 / kCueOutputRate);
    clips_.push_back(std::move(clip));
  }
}

std::string AlsaSound::Status() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return status_;
}

void AlsaSound::SetStatus(std::string status) {
  std::lock_guard<std::mutex> lock(mutex_);
  status_ = std::move(status);
}

void AlsaSound::PlayCue(const std::string& name) {
  // No player thread: the device never opened.
  if (!thread_.joinable()) return;
  auto clip = std::find_if(clips_.begin(), clips_.end(), [&](const Clip& c) { return c.name == name; });
  if (clip == clips_.end()) return;
  bool idle = false;
  if (!busy_.compare_exchange_strong(idle, true)) {
    ++dropped_;
    return;
  }
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (retry_.failing() && !retry_.TryAgain(TickMs())) {
      busy_ = false;
      return;
    }
    pending_ = &*clip;
  }
  wake_.notify_one();
}

void AlsaSound::Run() {
  std::unique_lock<std::mutex> lock(mutex_);
  while (true) {
    wake_.wait(lock, [this] { return stop_ || pending_; });
    if (stop_) break;
    const Clip* clip = pending_;
    pending_ = nullptr;
    lock.unlock();
    const auto start = std::chrono::steady_clock::now();
    const bool ok = (pcm_ || OpenDevice()) && Play(*clip);
    if (!ok && pcm_) {
      snd_pcm_close(pcm_);
      pcm_ = nullptr;
    }
    lock.lock();
    if (!ok) {
      // The device went away or broke: closed, and tried again at a later cue.
      available_ = false;
      busy_ = false;
      if (retry_.Failed(TickMs()))
        std::fprintf(stderr, "Sound: %s; the device is tried again at a later cue\n", status_.c_str());
      continue;
    }
    retry_.Worked();
    available_ = true;
    // A device that consumes faster than real time (or a cue cut short) still keeps the cue's length.
    wake_.wait_until(lock, start + std::chrono::milliseconds(clip->lengthMs), [this] { return stop_; });
    ++played_;
    busy_ = false;
  }
}

bool AlsaSound::Play(const Clip& clip) {
  const int16_t* data = clip.samples.data();
  snd_pcm_uframes_t left = clip.samples.size() / kCueOutputChannels;
  while (left > 0) {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      if (stop_) break;
    }
    snd_pcm_sframes_t n = snd_pcm_writei(pcm_, data, std::min(left, kChunkFrames));
    if (n == -EAGAIN) {
      // The buffer is full; a device that stalls cannot hold up a stop for longer than one wait.
      snd_pcm_wait(pcm_, kWaitMs);
      continue;
    }
    if (n < 0) n = snd_pcm_recover(pcm_, static_cast<int>(n), 1);
    if (n < 0) {
      SetStatus(std::string("sound device failed: ") + snd_strerror(static_cast<int>(n)));
      return false;
    }
    data += n * kCueOutputChannels;
    left -= static_cast<snd_pcm_uframes_t>(n);
  }
  // A cue shorter than the start threshold has not started yet.
  if (snd_pcm_state(pcm_) == SND_PCM_STATE_PREPARED) snd_pcm_start(pcm_);
  WaitUntilIdle();
  snd_pcm_drop(pcm_);
  const int rc = snd_pcm_prepare(pcm_);
  if (rc < 0) {
    SetStatus(std::string("sound device failed: ") + snd_strerror(rc));
    return false;
  }
  return true;
}

// Waits, in short steps that notice a stop, until the device has played what was written.
void AlsaSound::WaitUntilIdle() {
  std::unique_lock<std::mutex> lock(mutex_);
  while (!stop_) {
    snd_pcm_sframes_t delay = 0;
    if (snd_pcm_state(pcm_) != SND_PCM_STATE_RUNNING || snd_pcm_delay(pcm_, &delay) < 0 || delay <= 0) return;
    const auto ms = std::clamp<long>(static_cast<long>(delay) * 1000 / kCueOutputRate, 1, 20);
    wake_.wait_for(lock, std::chrono::milliseconds(ms), [this] { return stop_; });
  }
}

std::unique_ptr<Sound> MakeSystemSound(const std::string& device) {
  auto alsa = std::make_unique<AlsaSound>(device);
  if (alsa->Available()) return alsa;
  return std::make_unique<SilentSound>();
}

}  // namespace obrix
