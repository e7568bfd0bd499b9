#include "cue_synth.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace wavgen {
namespace {

constexpr double kTwoPi = 6.283185307179586;

// Linear fade in over `in` samples and out over `out` samples, so no cue starts or ends with a pop.
double Envelope(int n, int frames, int in, int out) {
  double g = 1.0;
  if (in > 0 && n < in) g = std::min(g, static_cast<double>(n) / in);
  if (out > 0 && n >= frames - out) g = std::min(g, static_cast<double>(frames - 1 - n) / out);
  return std::max(g, 0.0);
}

}  // namespace

std::vector<float> TickClick(int rate, int channels, int frames) {
  std::vector<float> out(static_cast<size_t>(frames) * channels);
  uint32_t noise = 12345;  // fixed seed: the generated file is the same on every run
  for (int n = 0; n < frames; ++n) {
    const double t = static_cast<double>(n) / rate;
    noise = noise * 1664525u + 1013904223u;
    const double hiss = (static_cast<double>(noise >> 8) / (1u << 24) - 0.5) * std::exp(-t / 0.0015);
    const double body = std::sin(kTwoPi * 2200.0 * t) * std::exp(-t / 0.006) +
                        0.5 * std::sin(kTwoPi * 3300.0 * t) * std::exp(-t / 0.003);
    const double v = 0.5 * (body + 0.6 * hiss) * Envelope(n, frames, rate / 4000, rate / 200);
    for (int c = 0; c < channels; ++c) out[static_cast<size_t>(n) * channels + c] = static_cast<float>(v);
  }
  return out;
}

std::vector<float> TwoToneWarning(int rate, int frames) {
  std::vector<float> out(frames);
  const int half = frames / 2;
  const int fade = rate / 200;  // 5 ms at each tone edge
  for (int n = 0; n < frames; ++n) {
    const bool first = n < half;
    const double f = first ? 1320.0 : 990.0;
    const int k = first ? n : n - half;
    const int len = first ? half : frames - half;
    const double t = static_cast<double>(k) / rate;
    const double x = kTwoPi * f * t;
    const double v = 0.6 * (std::sin(x) + 0.25 * std::sin(3 * x)) * Envelope(k, len, fade, fade);
    out[n] = static_cast<float>(v);
  }
  return out;
}

std::vector<float> Ring(int rate, int frames, double burstSeconds, double gapSeconds) {
  std::vector<float> out(frames);
  const int burst = static_cast<int>(burstSeconds * rate);
  const int period = burst + static_cast<int>(gapSeconds * rate);
  const int fade = rate / 100;
  double phase = 0;
  for (int n = 0; n < frames; ++n) {
    const int k = n % period;
    const double t = static_cast<double>(n) / rate;
    // The pitch switches between the pair 16 times a second; the phase runs on so the switch is smooth.
    const bool high = static_cast<int>(t * 32.0) % 2 == 1;
    phase += kTwoPi * (high ? 1400.0 : 1100.0) / rate;
    if (k >= burst) continue;
    const int len = std::min(burst, frames - (n - k));
    const double v = 0.7 * (std::sin(phase) + 0.2 * std::sin(2 * phase)) * Envelope(k, len, fade, fade);
    out[n] = static_cast<float>(v);
  }
  return out;
}

}  // namespace wavgen
