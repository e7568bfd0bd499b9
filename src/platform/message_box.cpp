#include "platform/message_box.h"

#include <cstdarg>
#include <cstdio>
#include <locale.h>
#include <mutex>

namespace obrix {
namespace {

std::mutex g_mutex;
std::string g_title;
std::string g_text;

// Length of the UTF-8 sequence starting at s[i], or 1 for a byte that does not start a valid one.
size_t SequenceLength(std::string_view s, size_t i) {
  const unsigned char c = static_cast<unsigned char>(s[i]);
  size_t n = c < 0x80 ? 1 : (c >= 0xC2 && c <= 0xDF) ? 2 : (c >= 0xE0 && c <= 0xEF) ? 3
                                                           : (c >= 0xF0 && c <= 0xF4) ? 4 : 0;
  if (n <= 1 || i + n > s.size()) return 1;
  for (size_t k = 1; k < n; ++k)
    if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return 1;
  return n;
}

// Formats in the C locale ("." decimals) whatever locale the process runs with.
std::string VFormat(const char* format, va_list args) {
  static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
  const locale_t old = cLocale ? uselocale(cLocale) : static_cast<locale_t>(0);
  va_list copy;
  va_copy(copy, args);
  const int n = std::vsnprintf(nullptr, 0, format, copy);
  va_end(copy);
  std::string out;
  if (n > 0) {
    out.assign(static_cast<size_t>(n) + 1, '\0');
    std::vsnprintf(out.data(), out.size(), format, args);
    out.resize(static_cast<size_t>(n));
  }
  if (old) uselocale(old);
  return out;
}

}  // namespace

std::string CutToChars(std::string_view utf8, size_t maxChars) {
  size_t i = 0;
  for (size_t chars = 0; i < utf8.size() && chars < maxChars; ++chars) i += SequenceLength(utf8, i);
  return std::string(utf8.substr(0, i));
}

void SetMessageTitle(std::string_view title) {
  std::string cut = CutToChars(title, kMessageTitleChars - 1);
  std::lock_guard<std::mutex> lock(g_mutex);
  g_title = std::move(cut);
}

void SetMessageText(std::string_view text) {
  std::string cut = CutToChars(text, kMessageTextChars - 1);
  std::lock_guard<std::mutex> lock(g_mutex);
  g_text = std::move(cut);
}

void FormatMessageTitle(const char* format, ...) {
  va_list args;
  va_start(args, format);
  std::string s = VFormat(format, args);
  va_end(args);
  SetMessageTitle(s);
}

void FormatMessageText(const char* format, ...) {
  va_list args;
  va_start(args, format);
  std::string s = VFormat(format, args);
  va_end(args);
  SetMessageText(s);
}

std::string MessageTitle() {
  std::lock_guard<std::mutex> lock(g_mutex);
  return g_title;
}

std::string MessageText() {
  std::lock_guard<std::mutex> lock(g_mutex);
  return g_text;
}

std::string ToDisplayLines(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r') {
      out.push_back('\n');
      if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else {
      out.push_back(text[i]);
    }
  }
  return out;
}

std::optional<MessageButtonSet> MessageButtonsFor(std::string_view templateName) {
  if (templateName == kMessageOk) return MessageButtonSet{{}, {IDOK, "OK"}, IDOK};
  if (templateName == kMessageYesNo) return MessageButtonSet{{IDCANCEL, "No"}, {IDOK, "Yes"}, IDOK};
  if (templateName == kMessageOkCancel) return MessageButtonSet{{IDCANCEL, "Cancel"}, {IDOK, "OK"}, IDOK};
  if (templateName == kMessageNoYes) return MessageButtonSet{{IDCANCEL, "Yes"}, {IDOK, "No"}, IDOK};
  return std::nullopt;
}

}  // namespace obrix
