#include "map/map_palette.h"

namespace obrix {

MapPalette::MapPalette() {
  colours_.fill(kWhite);
  pixels_.fill(ToPixel(kWhite));
}

uint8_t MapPalette::IndexOf(Colour colour) {
  colour &= 0xFFFFFFu;
  if (lastIndex_ != kNoInk && colours_[lastIndex_] == colour) return lastIndex_;
  for (int i = 1; i < count_; ++i) {
    if (colours_[i] == colour) return lastIndex_ = uint8_t(i);
  }
  if (count_ < kCapacity) {
    colours_[count_] = colour;
    pixels_[count_] = ToPixel(colour);
    return lastIndex_ = uint8_t(count_++);
  }
  int best = 1;
  long bestDistance = -1;
  for (int i = 1; i < count_; ++i) {
    const long dr = RedOf(colours_[i]) - RedOf(colour), dg = GreenOf(colours_[i]) - GreenOf(colour),
               db = BlueOf(colours_[i]) - BlueOf(colour);
    const long distance = dr * dr + dg * dg + db * db;
    if (bestDistance < 0 || distance < bestDistance) {
      bestDistance = distance;
      best = i;
    }
  }
  return uint8_t(best);
}

MapPalette& MapColours() {
  static MapPalette palette;
  return palette;
}

}  // namespace obrix
