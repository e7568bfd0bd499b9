#pragma once
// Reading the format chunk of a RIFF WAVE image.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace obrix {

inline constexpr uint16_t kWavePcm = 1;
inline constexpr uint16_t kWaveMsAdpcm = 2;

struct WavFormat {
  uint16_t formatTag = 0;
  uint16_t channels = 0;
  uint32_t sampleRate = 0;
  uint32_t bytesPerSecond = 0;
  uint16_t blockAlign = 0;
  uint16_t bitsPerSample = 0;
  uint16_t samplesPerBlock = 0;  // from the extension of compressed formats; 0 when absent
  size_t fmtOffset = 0;          // offset of the format chunk's body in the image
  size_t dataBytes = 0;          // size of the data chunk (0 when it has none)
};

// The format of a WAVE image, or nothing when the image is not RIFF/WAVE or its format chunk is missing,
// short or runs past the end. Chunks after a truncated one are not looked at.
std::optional<WavFormat> ReadWavFormat(std::string_view image);

}  // namespace obrix
