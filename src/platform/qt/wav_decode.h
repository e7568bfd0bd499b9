#pragma once
// Decoding of WAVE images held in memory (the program's sound resources) with libsndfile.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace obrix {

struct DecodedSound {
  int format = 0;    // libsndfile's SF_FORMAT_* major | subtype
  int channels = 0;
  int rate = 0;
  int64_t frames = 0;
  std::vector<int16_t> samples;  // interleaved, frames x channels
};

// Decodes a whole WAVE image; nothing (with the reason in `error`) when libsndfile cannot read it.
std::optional<DecodedSound> DecodeSound(std::string_view image, std::string* error = nullptr);

// The bytes of the Qt resource ":/sounds/<name>.wav", empty when there is none.
std::string SoundResource(const std::string& name);

}  // namespace obrix
