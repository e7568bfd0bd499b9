#pragma once
// Helpers of the setup dialog tests: control lookup and the settings file line by number.
#include <QComboBox>
#include <QKeyEvent>
#include <QCoreApplication>
#include <string>

#include "platform/paths.h"
#include "platform/qt/buttons.h"
#include "test_support.h"

namespace obrix::test {

// Line `n` (1-based) of the settings file, without its CR LF; empty when missing.
inline std::string SettingsFileLine(int n) {
  const std::string image = ReadFile(SettingsPath());
  size_t start = 0;
  for (int i = 1; i < n; ++i) {
    start = image.find("\r\n", start);
    if (start == std::string::npos) return {};
    start += 2;
  }
  const size_t end = image.find("\r\n", start);
  return end == std::string::npos ? std::string() : image.substr(start, end - start);
}

// Selects an entry of a list as the user does (the list's activation handlers run).
inline void Choose(QWidget* dialog, int listId, const QString& entry) {
  auto* list = FindControl<QComboBox>(dialog, listId);
  if (!list) return;
  const int i = list->findText(entry);
  list->setCurrentIndex(i);
  emit list->activated(i);
}

// A key press (and release) sent to a control; unhandled keys travel on to its parents.
inline void Type(QWidget* control, int qtKey, const QString& text) {
  QKeyEvent down(QEvent::KeyPress, qtKey, Qt::NoModifier, text);
  QCoreApplication::sendEvent(control, &down);
  QKeyEvent up(QEvent::KeyRelease, qtKey, Qt::NoModifier, text);
  QCoreApplication::sendEvent(control, &up);
}

}  // namespace obrix::test
