#pragma once
// Elapsed time of a simulator stream, kept in 64 bits across wraps of the 32-bit tick counter.
#include <cstdint>

namespace obrix::sim {
// Milliseconds from *last to `now` on the wrapping tick counter; a step backwards counts as 0. Updates *last.
inline uint64_t AdvanceTicks(uint32_t* last, uint32_t now) {
  uint32_t d = now - *last;
  if (d >= 0x80000000u) return 0;
  *last = now;
  return d;
}
}  // namespace obrix::sim
