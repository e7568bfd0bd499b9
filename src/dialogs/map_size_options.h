#pragma once
// Logic of the map size dialog: the copies kept at opening, OK and Cancel.
#include <string>

namespace obrix {

inline constexpr int kCursorBandChoices = 7;  // "10" .. "40" percent

// Unit label of the size and the interval: "meters", "feet" or "US feet" for mapUnits 0..2.
const char* MapScaleUnitLabel(int mapUnits);

// Opening: keeps mapSize, the pixels per unit, gridInterval, cursorBandIndex and the band in pixels as the
// saved copies of the map.
void SaveMapSizeCopies();

// An edited map size that reads as 0 or less is put back as "1"; text without digits is left as typed.
bool MapSizeTextNeedsReset(const std::string& text);

struct MapSizeEntry {
  std::string mapSize;
  std::string gridInterval;
  int cursorBandIndex = 0;
};
// OK: RedrawFlags cleared; mapSize (at least 1), pixels per unit, gridInterval as entered (the logging screen
// applies its minimum), the band and its pixels; RedrawFlags 256 for a new map size, 64 for a new interval.
// The caller saves the settings.
void ApplyMapSize(const MapSizeEntry& entry);
// Cancel: RedrawFlags cleared and the saved copies back.
void CancelMapSize();

}  // namespace obrix
