#pragma once
// Logic of the new line, new station and comment dialogs.
#include <string>
#include <string_view>

namespace obrix {

inline constexpr int kLineNameEntryChars = 15;  // accepted by the new line field
inline constexpr int kLineNameStoredChars = 12; // kept of it
inline constexpr int kCommentChars = 11;

// The leading number of the line name (0 when none) plus the increment, "%.2f".
std::string NextLineName(std::string_view lineName, double increment);
// West <-> East, South <-> North (0 West, 1 South, 2 North, 3 East).
int OppositeDirection(int direction);

// What the new line dialog shows at opening.
struct NewLineProposal {
  std::string currentLine;  // the line name before the new one replaced it
  double lastStation = 0;
  std::string nextLine;
  double lineIncrement = 0;
  int sequence = 0;         // 0 Alternate, 1 One Way
  int direction = 0;
  double startStation = 0;
  double stationIncrement = 0;
};
// Opening: the next line name replaces lineName at once (also when the dialog is then cancelled). One Way
// offers the line's direction, start station and increment; Alternate the opposite direction, the current
// station as start and the increment with its sign reversed.
NewLineProposal ProposeNewLine();

struct NewLineEntry {
  std::string lineName;
  std::string lineIncrement;
  int sequence = 0;
  int direction = 0;
  std::string startStation;
  std::string stationIncrement;
};
// OK: the line name (first 12 characters), increment, sequence, direction, start and current station, the
// station increment in use; the next reading starts the line's stations; settings saved.
void ApplyNewLine(const NewLineEntry& entry);

// OK of the new station: the current station (0 when empty), the next reading starts there, a station record
// and a time mark, settings saved.
void ApplyNewStation(std::string_view station);

// OK of the comment: a comment record with the first 11 characters.
void ApplyComment(std::string_view text);

}  // namespace obrix
