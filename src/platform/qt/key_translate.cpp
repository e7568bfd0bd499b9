#include "platform/qt/key_translate.h"

namespace obrix {

KeyInput TranslateKey(int qtKey, const QString& text) {
  if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) return {KeyInput::KeyDown, 'A' + (qtKey - Qt::Key_A)};
  if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) return {KeyInput::KeyDown, '0' + (qtKey - Qt::Key_0)};
  switch (qtKey) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return {KeyInput::KeyDown, VK_TAB};
    case Qt::Key_Return:
    case Qt::Key_Enter: return {KeyInput::KeyDown, VK_RETURN};
    case Qt::Key_Escape: return {KeyInput::KeyDown, VK_ESCAPE};
    case Qt::Key_Space: return {KeyInput::KeyDown, VK_SPACE};
    case Qt::Key_Left: return {KeyInput::KeyDown, VK_LEFT};
    case Qt::Key_Up: return {KeyInput::KeyDown, VK_UP};
    case Qt::Key_Right: return {KeyInput::KeyDown, VK_RIGHT};
    case Qt::Key_Down: return {KeyInput::KeyDown, VK_DOWN};
    case Qt::Key_F2: return {KeyInput::KeyDown, VK_F2};
    case Qt::Key_F3: return {KeyInput::KeyDown, VK_F3};
    default: break;
  }
  // One printable character (a surrogate pair counts as one).
  const QList<uint> points = text.toUcs4();
  if (points.size() == 1) {
    const char32_t c = points.front();
    if (QChar::isPrint(c) && c != U' ') return {KeyInput::Char, static_cast<int>(c)};
  }
  return {KeyInput::KeyDown, 0};
}

KeyInput TranslateKey(const QKeyEvent& event) { return TranslateKey(event.key(), event.text()); }

}  // namespace obrix
