#pragma once
// Sample synthesis of the four cues, as floats in -1..1, interleaved when stereo.
#include <vector>

namespace wavgen {

std::vector<float> TickClick(int rate, int channels, int frames);
std::vector<float> TwoToneWarning(int rate, int frames);
// Electronic ringer: a warbling tone pair in bursts of `burstSeconds` with `gapSeconds` between them.
std::vector<float> Ring(int rate, int frames, double burstSeconds, double gapSeconds);

}  // namespace wavgen
