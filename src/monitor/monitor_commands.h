#pragma once
// The GPS monitor's commands: its buttons, key decoding with the default-button look, the bytes of a command
// sent to the receiver, and the layout of its controls.
#include <string>
#include <string_view>

#include "platform/canvas.h"
#include "platform/key_input.h"

namespace obrix {

// Buttons by position: "&Go" (750), "&Pause" (751), "&Send" (752), "E&xit" (753).
enum MonitorButton { kMonitorGo = 0, kMonitorPause = 1, kMonitorSend = 2, kMonitorExit = 3 };
inline constexpr int kMonitorButtonCount = 4;
inline constexpr int kMonitorFirstButtonId = 750;
inline constexpr const char* kMonitorButtonCaptions[kMonitorButtonCount] = {"&Go", "&Pause", "&Send", "E&xit"};
inline constexpr int kMonitorListId = 760;
inline constexpr int kMonitorEditId = 770;
inline constexpr int kMonitorWindowId = 780;
inline constexpr const char* kMonitorInitialCommand = "$PASHS,NME,SAT,A,ON";
inline constexpr const char* kMonitorLabel = "Enter Command Text";

// The button hidden in a state: "&Go" while running, "&Pause" while paused.
inline int MonitorHiddenButton(bool running) { return running ? kMonitorGo : kMonitorPause; }
// The next (step +1) or previous (step -1) button from `focus`, skipping the hidden one, wrapping around.
int MonitorMoveFocus(int focus, int step, bool running);

// A key-down decoded: Tab, Right, Down move the default look forward, Left and Up back (into *focus); Enter
// runs the button that has it; G, P, S, X run Go, Pause, Send, Exit. Returns the button to run, or -1.
int DecodeMonitorKey(int virtualKey, int* focus, bool running);

// Characters of a command the send buffer takes before its CR LF: the longest NMEA line.
inline constexpr size_t kMonitorCommandMax = 82;
// The bytes written for a command (8-bit text): the text and CR LF. False, with nothing set, when the text is
// longer than the send buffer takes.
bool MonitorCommandBytes(std::string_view text8, std::string* bytes);
inline constexpr const char* kMonitorSendTitle = "Send Message to GPS Receiver";
// Shown instead of the send dialog when the GPS port is a gpsd source.
inline constexpr const char* kMonitorSendGpsdText =
    "The receiver on this port is held by gpsd: commands cannot be sent to it from here.";
// Shown instead of sending a command that does not fit.
std::string MonitorCommandTooLongText(size_t length);

// Control rectangles for a client of w x h.
struct MonitorLayout {
  Rect buttons[kMonitorButtonCount];
  Rect list;
  Rect edit;
  int labelX = 10, labelY = 0;
};
MonitorLayout ComputeMonitorLayout(int w, int h);

}  // namespace obrix
