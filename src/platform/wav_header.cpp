#include "platform/wav_header.h"

namespace obrix {
namespace {

uint16_t Le16(std::string_view b, size_t at) {
  return static_cast<uint16_t>(static_cast<unsigned char>(b[at]) | static_cast<unsigned char>(b[at + 1]) << 8);
}

uint32_t Le32(std::string_view b, size_t at) {
  return static_cast<uint32_t>(Le16(b, at)) | static_cast<uint32_t>(Le16(b, at + 2)) << 16;
}

}  // namespace

std::optional<WavFormat> ReadWavFormat(std::string_view image) {
  if (image.size() < 12 || image.substr(0, 4) != "RIFF" || image.substr(8, 4) != "WAVE") return std::nullopt;
  WavFormat fmt;
  bool haveFmt = false;
  size_t at = 12;
  while (image.size() - at >= 8) {
    const std::string_view id = image.substr(at, 4);
    const size_t size = Le32(image, at + 4);
    const size_t body = at + 8;
    if (size > image.size() - body) {
      // A data chunk cut short still tells its format; anything else truncated ends the walk.
      if (id == "data" && haveFmt) fmt.dataBytes = image.size() - body;
      break;
    }
    if (id == "fmt ") {
      if (size < 16) return std::nullopt;
      fmt.formatTag = Le16(image, body);
      fmt.channels = Le16(image, body + 2);
      fmt.sampleRate = Le32(image, body + 4);
      fmt.bytesPerSecond = Le32(image, body + 8);
      fmt.blockAlign = Le16(image, body + 12);
      fmt.bitsPerSample = Le16(image, body + 14);
      if (size >= 20 && Le16(image, body + 16) >= 2) fmt.samplesPerBlock = Le16(image, body + 18);
      fmt.fmtOffset = body;
      haveFmt = true;
    } else if (id == "data") {
      fmt.dataBytes = size;
    }
    const size_t step = size + (size & 1);  // chunks are padded to an even length
    if (step > image.size() - body) break;
    at = body + step;
  }
  if (!haveFmt) return std::nullopt;
  return fmt;
}

}  // namespace obrix
