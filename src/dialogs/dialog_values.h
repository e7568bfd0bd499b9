#pragma once
// Value helpers shared by the setup dialogs: list entries, list selections and number fields.
#include <string>
#include <string_view>
#include <vector>

namespace obrix {

inline constexpr int kSerialPortCount = 99;
inline constexpr const char* kEnabledEntries[2] = {"Disabled", "Enabled"};

// "COM1:" .. "COM99:", the entries of the serial port lists (index = 0-based port).
std::vector<std::string> SerialPortEntries();

// The list index shown for a stored value: values outside 0..count-1 (a hand-edited file) show as the
// nearest entry, so that OK never stores "no selection".
int ListIndex(int stored, int count);

// The number in an edit: C-locale, parsing stops at the first character that does not fit. Text that is not a
// number, and infinities or NaN, give `otherwise`.
double FieldNumber(std::string_view text, double otherwise = 0.0);
// True when the text starts with a number (after leading white space).
bool IsNumberText(std::string_view text);

// A number field on OK: `stored` while the text is still the one shown when the dialog opened (so a value finer
// than the field's decimals survives an OK without edits), else FieldNumber(now, otherwise).
double FieldValue(std::string_view shown, std::string_view now, double stored, double otherwise = 0.0);

}  // namespace obrix
