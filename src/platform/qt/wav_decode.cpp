#include "platform/qt/wav_decode.h"

#include <QFile>
#include <sndfile.h>

#include <algorithm>
#include <cstring>

// The resources live in a static library: register them explicitly so the linker keeps them.
static void InitSoundResources() { Q_INIT_RESOURCE(sounds); }

namespace obrix {
namespace {

// libsndfile's virtual I/O over a read-only image.
struct MemoryImage {
  std::string_view bytes;
  sf_count_t pos = 0;
};

sf_count_t Length(void* user) { return static_cast<sf_count_t>(static_cast<MemoryImage*>(user)->bytes.size()); }

sf_count_t Seek(sf_count_t offset, int whence, void* user) {
  auto* m = static_cast<MemoryImage*>(user);
  const sf_count_t size = static_cast<sf_count_t>(m->bytes.size());
  sf_count_t to = offset;
  if (whence == SEEK_CUR) to = m->pos + offset;
  else if (whence == SEEK_END) to = size + offset;
  if (to < 0 || to > size) return -1;
  m->pos = to;
  return m->pos;
}

sf_count_t Read(void* out, sf_count_t count, void* user) {
  auto* m = static_cast<MemoryImage*>(user);
  const sf_count_t left = static_cast<sf_count_t>(m->bytes.size()) - m->pos;
  const sf_count_t n = std::max<sf_count_t>(0, std::min(count, left));
  if (n > 0) std::memcpy(out, m->bytes.data() + m->pos, static_cast<size_t>(n));
  m->pos += n;
  return n;
}

sf_count_t Write(const void*, sf_count_t, void*) { return 0; }

sf_count_t Tell(void* user) { return static_cast<MemoryImage*>(user)->pos; }

// Far more than any cue; keeps a corrupt header from asking for a huge buffer.
constexpr int64_t kMaxSamples = 10'000'000;

}  // namespace

std::optional<DecodedSound> DecodeSound(std::string_view image, std::string* error) {
  SF_VIRTUAL_IO io{Length, Seek, Read, Write, Tell};
  MemoryImage mem{image, 0};
  SF_INFO info{};
  SNDFILE* f = sf_open_virtual(&io, SFM_READ, &info, &mem);
  if (!f) {
    if (error) *error = sf_strerror(nullptr);
    return std::nullopt;
  }
  DecodedSound out;
  out.format = info.format;
  out.channels = info.channels;
  out.rate = info.samplerate;
  if (info.channels < 1 || info.frames < 0 || info.frames > kMaxSamples / info.channels) {
    sf_close(f);
    if (error) *error = "implausible length or channel count";
    return std::nullopt;
  }
  out.samples.resize(static_cast<size_t>(info.frames * info.channels));
  const sf_count_t got = sf_readf_short(f, out.samples.data(), info.frames);
  sf_close(f);
  out.frames = std::max<sf_count_t>(got, 0);
  out.samples.resize(static_cast<size_t>(out.frames * info.channels));
  return out;
}

std::string SoundResource(const std::string& name) {
  static const bool registered = (InitSoundResources(), true);
  (void)registered;
  QFile file(QString::fromStdString(":/sounds/" + name + ".wav"));
  if (!file.open(QIODevice::ReadOnly)) return {};
  const QByteArray bytes = file.readAll();
  return std::string(bytes.constData(), static_cast<size_t>(bytes.size()));
}

}  // namespace obrix
