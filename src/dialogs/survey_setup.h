#pragma once
// Survey Setup: reading rate, EM38 component and dipole mode, line naming and station numbering.
#include <optional>
#include <string>
#include <string_view>

namespace obrix {

inline constexpr int kSurveyLineMaxChars = 15;
inline constexpr int kReadingsTextMaxChars = 31;  // characters of "Readings/second:" that are read

inline constexpr const char* kComponentEntries[2] = {"Conductivity", "Inphase"};
inline constexpr const char* kDipoleModeEntries[2] = {"Vertical", "Horizontal"};
inline constexpr const char* kLineSequenceEntries[2] = {"Alternate", "One Way"};
inline constexpr const char* kLineDirectionEntries[4] = {"West", "South", "North", "East"};

// Refusal of a negative (or out of range) rate, shown with MESSAGEOK; the dialog stays open.
inline constexpr const char* kRateRefusedTitle = "Survey Setup";
inline constexpr const char* kRateRefusedText = "Readings/second must be a positive number.";
// Refusal of a rate above kMaxReadingsPerSecond, shown the same way.
inline constexpr const char* kRateTooHighText = "Readings/second must not exceed 13.9 (EM38 record every 72 ms).";

// The dialog's fields: texts of the edits and indices of the lists.
struct SurveyForm {
  std::string readingsPerSecond;
  int component = 0;
  int dipoleMode = 0;
  std::string lineName;  // UTF-8
  std::string lineIncrement;
  int lineSequence = 0;
  int lineDirection = 0;
  std::string startStation;
  std::string stationIncrement;
};

// Opening: the fields from the settings. Also sets the station increment in use to SurveyStationIncrement,
// which stays so even when the dialog is cancelled.
SurveyForm OpenSurveyForm();

// Readings per second from the field: 0 or text that is not a number give 1; a negative rate, or one whose
// interval is not a finite positive number of seconds, gives nothing (refused).
std::optional<double> ReadingsPerSecond(std::string_view text);

// OK: takes every field into the settings and their derived values and saves the settings file. Returns false
// (changing nothing) when the rate is refused: not a positive number, or faster than the instrument delivers
// (kMaxReadingsPerSecond, also for a stored rate left as shown); `refusal` then receives the text to show.
// `opened` is the form as OpenSurveyForm gave it: a number field left as shown keeps its exact value.
bool ApplySurveyForm(const SurveyForm& form, const SurveyForm& opened, const char** refusal = nullptr);

}  // namespace obrix
