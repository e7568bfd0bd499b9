#pragma once
// Qt key events as the decoders' input.
#include <QKeyEvent>
#include <QString>

#include "platform/key_input.h"

namespace obrix {

// Letters A..Z and digits as key-down codes (upper case, whatever the modifiers), Tab (and Shift+Tab), Return,
// Enter, Escape, Space, the cursor keys, F2 and F3 as their virtual-key codes; any other printable character as
// a Char input with its code; every other key as a key-down with code 0.
KeyInput TranslateKey(int qtKey, const QString& text);
KeyInput TranslateKey(const QKeyEvent& event);

// A Tab or Shift+Tab key press, which belongs to a screen's decoder rather than to Qt's focus chain. Screens call
// this from event() and hand the key to their own key handling when it answers true.
inline bool IsScreenTab(const QEvent* e) {
  if (e->type() != QEvent::KeyPress) return false;
  const int key = static_cast<const QKeyEvent*>(e)->key();
  return key == Qt::Key_Tab || key == Qt::Key_Backtab;
}

}  // namespace obrix
