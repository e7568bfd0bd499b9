#pragma once
// The image of the settings record in the settings file: a version line and 82 value lines, in a fixed order,
// each ending with CR LF. A value is known only by its line number.
#include <climits>
#include <functional>
#include <string>
#include <vector>

namespace obrix {

inline constexpr int kSettingsLineCount = 83;
inline constexpr const char* kSettingsVersionLine = "Ver2.15";
// Bytes kept of a line: the longest path the system takes, so a folder line is read whole.
inline constexpr size_t kSettingsMaxLine = PATH_MAX - 1;
inline constexpr size_t kLineNameMaxChars = 15;

// One line as read from the file, without its CR LF; at most kSettingsMaxLine bytes are kept and `overlong`
// tells that the line had more.
struct SettingsLine {
  std::string text;
  bool overlong = false;
};

// The whole file image from the current settings.
std::string SettingsImage();

// The map size the file keeps for the one in force (the map in review shows a zoomed size that is never
// kept); empty keeps the size in force.
extern std::function<int(int)> MapSizeForFile;

// True when a first line names this settings version (compared only when shorter than 20 characters).
bool IsCurrentVersionLine(const SettingsLine& first);

// Applies the value lines (values[0] is line 2) to the settings with the load-time derivations, in line order.
// Lines beyond the end of `values` keep their current values; the derivations run all the same.
void ApplySettingsLines(const std::vector<SettingsLine>& values);

}  // namespace obrix
