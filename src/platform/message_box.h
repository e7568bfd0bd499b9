#pragma once
// The shared message buffers and the button sets of the message templates.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "platform/control_ids.h"

namespace obrix {

// Buffer sizes in characters, the terminator included: the title keeps at most 127 characters, the text 255.
inline constexpr size_t kMessageTitleChars = 128;
inline constexpr size_t kMessageTextChars = 256;

// Templates of the message family.
inline constexpr const char* kMessageOk = "MESSAGEOK";
inline constexpr const char* kMessageYesNo = "MESSAGEYESNO";
inline constexpr const char* kMessageOkCancel = "MESSAGEOKCANCEL";
inline constexpr const char* kMessageNoYes = "MESSAGENOYES";

inline constexpr int kMessageTextControl = 550;
inline constexpr int kMessageHiddenControl = 551;

// The buffers hold UTF-8 text. Setting one cuts the text to the buffer (by characters, never inside a
// character). They are guarded, so a reader thread may fill them; a message box reads a copy.
void SetMessageTitle(std::string_view title);
void SetMessageText(std::string_view text);
// printf-style: formats into an unbounded string first, then cuts it to the buffer.
void FormatMessageTitle(const char* format, ...) __attribute__((format(printf, 1, 2)));
void FormatMessageText(const char* format, ...) __attribute__((format(printf, 1, 2)));
std::string MessageTitle();
std::string MessageText();

// The first `maxChars` characters of UTF-8 text; a byte that does not start a valid sequence counts as one.
std::string CutToChars(std::string_view utf8, size_t maxChars);

// "\r\n" (and a lone "\r") as "\n".
std::string ToDisplayLines(std::string_view text);

struct MessageButton {
  int id = 0;               // IDOK or IDCANCEL; 0 = no button in that place
  const char* caption = "";
};
// Buttons of a template from left to right, and the default one. MESSAGEOK has its one button in `right`.
struct MessageButtonSet {
  MessageButton left;
  MessageButton right;
  int defaultId = IDOK;
};
std::optional<MessageButtonSet> MessageButtonsFor(std::string_view templateName);

}  // namespace obrix
