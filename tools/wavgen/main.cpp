// wavgen OUTDIR: writes the program's four cue sounds as WAVE files in their fixed encodings.
#include <sndfile.h>

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "cue_synth.h"
#include "platform/program_options.h"
#include "platform/sound.h"
#include "platform/wav_header.h"

namespace {

struct CueFile {
  const char* name;
  int sfFormat;
  uint16_t formatTag;
  int channels;
  int rate;
  int frames;
  uint16_t blockAlign;
  uint16_t bits;
  std::vector<float> samples;
};

// An MS-ADPCM stream does not depend on the sample rate, but libsndfile picks the
// block size from rate x channels (2048 bytes for stereo 22050 Hz). The stream is therefore encoded at a
// rate whose product still gets 1024-byte blocks, and the rate fields of the header are set afterwards.
constexpr int kAdpcmEncodeRate = 21999;

bool ReadAll(const std::string& path, std::string& bytes) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return true;
}

bool WriteAll(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out.flush());
}

void PutLe32(std::string& b, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
}

bool Fail(const std::string& path, const std::string& why) {
  std::fprintf(stderr, "wavgen: %s: %s\n", path.c_str(), why.c_str());
  return false;
}

bool SetRate(const std::string& path, const CueFile& cue) {
  std::string bytes;
  if (!ReadAll(path, bytes)) return Fail(path, "cannot read back");
  auto fmt = obrix::ReadWavFormat(bytes);
  if (!fmt || fmt->samplesPerBlock == 0) return Fail(path, "no usable format chunk");
  PutLe32(bytes, fmt->fmtOffset + 4, static_cast<uint32_t>(cue.rate));
  PutLe32(bytes, fmt->fmtOffset + 8,
          static_cast<uint32_t>(static_cast<uint64_t>(cue.rate) * fmt->blockAlign / fmt->samplesPerBlock));
  if (!WriteAll(path, bytes)) return Fail(path, "cannot rewrite");
  return true;
}

bool Verify(const std::string& path, const CueFile& cue) {
  SF_INFO info{};
  SNDFILE* f = sf_open(path.c_str(), SFM_READ, &info);
  if (!f) return Fail(path, std::string("cannot reopen: ") + sf_strerror(nullptr));
  sf_close(f);
  std::string bytes;
  if (!ReadAll(path, bytes)) return Fail(path, "cannot read back");
  auto fmt = obrix::ReadWavFormat(bytes);
  if (!fmt) return Fail(path, "no format chunk");
  if (info.format != cue.sfFormat || info.channels != cue.channels || info.samplerate != cue.rate ||
      info.frames != cue.frames || fmt->formatTag != cue.formatTag || fmt->blockAlign != cue.blockAlign ||
      fmt->bitsPerSample != cue.bits || fmt->sampleRate != static_cast<uint32_t>(cue.rate)) {
    char msg[200];
    std::snprintf(msg, sizeof msg, "written as format 0x%x, %d ch, %d Hz, %lld frames, block %u, %u bit",
                  info.format, info.channels, info.samplerate, static_cast<long long>(info.frames),
                  fmt->blockAlign, fmt->bitsPerSample);
    return Fail(path, msg);
  }
  return true;
}

bool Write(const std::string& dir, const CueFile& cue) {
  const std::string path = dir + "/" + cue.name + ".wav";
  const bool adpcm = cue.formatTag == obrix::kWaveMsAdpcm;
  SF_INFO info{};
  info.samplerate = adpcm ? kAdpcmEncodeRate : cue.rate;
  info.channels = cue.channels;
  info.format = cue.sfFormat;
  SNDFILE* f = sf_open(path.c_str(), SFM_WRITE, &info);
  if (!f) return Fail(path, sf_strerror(nullptr));
  sf_command(f, SFC_SET_CLIPPING, nullptr, SF_TRUE);
  const sf_count_t written = sf_writef_float(f, cue.samples.data(), cue.frames);
  if (sf_close(f) != 0 || written != cue.frames) return Fail(path, "short write");
  if (adpcm && !SetRate(path, cue)) return false;
  if (!Verify(path, cue)) return false;
  std::printf("%s: %d frames, %.3f s\n", path.c_str(), cue.frames, static_cast<double>(cue.frames) / cue.rate);
  return true;
}

int Frames(double seconds, int rate) { return static_cast<int>(seconds * rate + 0.5); }

}  // namespace

const char kUsageText[] =
    "usage: wavgen OUTDIR\n"
    "Writes the program's four cue sounds as WAVE files into the folder OUTDIR.\n"
    "\n"
    "  --help      this text\n"
    "  --version   the version\n";

int main(int argc, char** argv) {
  if (auto code = obrix::AnswerHelpOrVersion(argc, argv, "wavgen", kUsageText)) return *code;
  if (argc != 2 || obrix::LooksLikeOption(argv[1])) {
    obrix::ReportUsageError("wavgen", argc < 2 ? "no OUTDIR given"
                                      : obrix::LooksLikeOption(argv[1]) ? std::string("unknown option ") + argv[1]
                                                                        : "only one OUTDIR");
    return 2;
  }
  const std::string dir = argv[1];
  constexpr int kPcm16 = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
  constexpr int kPcmU8 = SF_FORMAT_WAV | SF_FORMAT_PCM_U8;
  // The tick is one whole 1024-byte block: 1012 stereo frames, 46 ms.
  const int tick = 1012;
  const int warn = Frames(0.19, 22050), ring = Frames(0.9, 11025), ring2 = Frames(1.9, 11025);
  const CueFile cues[] = {
      {obrix::kSoundResult, SF_FORMAT_WAV | SF_FORMAT_MS_ADPCM, obrix::kWaveMsAdpcm, 2, 22050, tick, 1024, 4,
       wavgen::TickClick(22050, 2, tick)},
      {obrix::kSoundGpsWarning, kPcm16, obrix::kWavePcm, 1, 22050, warn, 2, 16,
       wavgen::TwoToneWarning(22050, warn)},
      {obrix::kSoundRing, kPcmU8, obrix::kWavePcm, 1, 11025, ring, 1, 8, wavgen::Ring(11025, ring, 0.85, 0.25)},
      {obrix::kSoundRing2s, kPcmU8, obrix::kWavePcm, 1, 11025, ring2, 1, 8,
       wavgen::Ring(11025, ring2, 0.8, 0.25)},
  };
  for (const CueFile& cue : cues)
    if (!Write(dir, cue)) return 1;
  return 0;
}
