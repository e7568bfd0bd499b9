#pragma once
// The colours of the map's 8-bit page layers. Index 0 means "no ink" (white on a track layer, transparent on a
// base layer); every other index names one RGB colour, handed out on first use. When all 255 are taken a new
// colour gets the nearest one already known.
#include <array>
#include <cstdint>

#include "platform/canvas.h"

namespace obrix {

class MapPalette {
 public:
  static constexpr int kNoInk = 0;
  static constexpr int kCapacity = 256;

  MapPalette();
  // Index of `colour` (never kNoInk).
  uint8_t IndexOf(Colour colour);
  Colour ColourAt(uint8_t index) const { return colours_[index]; }
  // The canvas pixel of an index (0xFFRRGGBB); white for kNoInk.
  uint32_t PixelAt(uint8_t index) const { return pixels_[index]; }
  int size() const { return count_; }

 private:
  std::array<Colour, kCapacity> colours_{};
  std::array<uint32_t, kCapacity> pixels_{};
  int count_ = 1;
  uint8_t lastIndex_ = 0;
};

// The palette shared by every page layer (window thread only).
MapPalette& MapColours();

}  // namespace obrix
