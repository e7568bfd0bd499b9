#pragma once
// The logging screen's session commands (Open File, Go, Pause, Quick Line, New Line, Exit): what each one
// changes in the session, the settings and the data file, and what the screen must show afterwards. The
// screen asks the operator and draws; these functions decide.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "datafile/file_naming.h"

namespace obrix {

struct Session;
struct Settings;

// The button row of the logging screen.
enum class ButtonSet : int { None = 0, A = 1, B = 2, Pause = 3 };  // set A: File...; set B: Go...; "P A U S E"

// The lines of the status area: the file line or the state line for a state.
enum class StatusLine : int { FileName = 0, NoFile = 1, StandBy = 2, Logging = 3 };

// A message box of a command: "INFORMATION" or "WARNING" with its text, after an optional sound cue.
struct ScreenMessage {
  const char* title = "";
  const char* text = "";
  const char* cue = nullptr;
};

// What the screen shows after a command, in this order: the button set, the nav buttons, the pause prompt,
// the status lines, then the message.
struct ScreenUpdate {
  std::optional<ButtonSet> buttons;
  std::optional<bool> navEnabled;
  std::optional<int> pausePrompt;  // the logging state the prompt is drawn for
  std::vector<StatusLine> statusLines;
  std::optional<ScreenMessage> message;
};

// Set A by slot (Exit, Map Size, Menu, File) when the screen is entered: with the GPS, File and Map Size wait
// for the first valid fix; Exit and Menu work at once.
struct SetAEnabled {
  bool exit = true, mapSize = true, menu = true, file = true;
};
SetAEnabled SetAAtEntry(const Settings& s);

// The "INFORMATION" of a command that needs the instrument, or nothing when it is enabled.
std::optional<ScreenMessage> NeedsInstrument(const Settings& s);

// --- Open File ---
enum class OpenFileNext {
  Nothing,        // no file open: the screen stays as it was
  Shown,          // a new or foreign file: StandBy, the update shows it
  CheckAppend,    // an existing file of this program: the append check comes next
};
struct OpenFileStep {
  OpenFileNext next = OpenFileNext::Nothing;
  ScreenUpdate update;
};
// After the create dialog.
OpenFileStep AfterDataFileCreated(CreateResult result);
// An existing file the append check accepted: the survey continues in it (header, line block and time mark
// appended, settings saved). True when the stored track must fit the map before the file is used.
bool ContinueExistingFile();
// The existing file is in use: StandBy.
ScreenUpdate ExistingFileOpened();
// The stored track does not fit the map: the file is closed again and the state stays NoFile.
ScreenUpdate StoredTrackTooLarge();

// --- Go ---
struct GoPlan {
  std::optional<ScreenMessage> refusal;  // the map overflowed and the operator was warned: logging cannot start
  bool leaveReview = false;              // the map is in review: review is left first, as Exit Review does
};
GoPlan PlanGo(const Session& s);
// Starts recording (review already left) at tick `now`.
ScreenUpdate StartLogging(uint32_t now);

// --- Pause ---
ScreenUpdate PauseLogging();

// --- Quick Line ---
// The question "New Line: <next>", or the information when the instrument is disabled.
struct QuickLineStep {
  std::optional<ScreenMessage> refusal;
  std::string question;
};
QuickLineStep PlanQuickLine(const Settings& s);
// The operator said yes: the next line starts (line and station values, line block, time mark, settings).
void AcceptQuickLine();

// --- New Line ---
// The New Line dialog was accepted: its line block and time mark are written and the line count restarts.
void NewLineAccepted();

// The settings file keeps the live map size while the map is in review.
void KeepLiveMapSizeInSettingsFile();

// --- Exit ---
// The session has ended: the background files go and review is left with the live map size, scale and colour
// view (the map pane is hidden with the screen). True when review was left: set B works again.
bool AfterSessionEnded();
// The setup screen takes over: the station starts again and the setup screen is active.
ScreenUpdate ReturnToSetupScreen();

}  // namespace obrix
