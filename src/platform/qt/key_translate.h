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

}  // namespace obrix
