#include <gtest/gtest.h>

#include <QKeyEvent>

#include "platform/qt/key_translate.h"

namespace obrix {
namespace {

TEST(TranslateKey, DecoderInputOfEachKey) {
  struct Case { int key; Qt::KeyboardModifiers mods; const char* text; KeyInput expected; };
  const KeyInput none{KeyInput::KeyDown, 0};
  const Case cases[] = {
      {Qt::Key_A, Qt::NoModifier, "a", {KeyInput::KeyDown, 'A'}},
      {Qt::Key_Z, Qt::ShiftModifier, "Z", {KeyInput::KeyDown, 90}},
      {Qt::Key_C, Qt::ControlModifier, "\x03", {KeyInput::KeyDown, 'C'}},
      {Qt::Key_0, Qt::NoModifier, "0", {KeyInput::KeyDown, 48}},
      {Qt::Key_9, Qt::KeypadModifier, "9", {KeyInput::KeyDown, 57}},
      {Qt::Key_Tab, Qt::NoModifier, "\t", {KeyInput::KeyDown, VK_TAB}},
      {Qt::Key_Backtab, Qt::ShiftModifier, "", {KeyInput::KeyDown, VK_TAB}},
      {Qt::Key_Return, Qt::NoModifier, "\r", {KeyInput::KeyDown, VK_RETURN}},
      {Qt::Key_Enter, Qt::KeypadModifier, "\r", {KeyInput::KeyDown, VK_RETURN}},
      {Qt::Key_Escape, Qt::NoModifier, "\x1b", {KeyInput::KeyDown, VK_ESCAPE}},
      {Qt::Key_Space, Qt::NoModifier, " ", {KeyInput::KeyDown, VK_SPACE}},
      {Qt::Key_Left, Qt::NoModifier, "", {KeyInput::KeyDown, VK_LEFT}},
      {Qt::Key_Up, Qt::NoModifier, "", {KeyInput::KeyDown, VK_UP}},
      {Qt::Key_Right, Qt::NoModifier, "", {KeyInput::KeyDown, VK_RIGHT}},
      {Qt::Key_Down, Qt::NoModifier, "", {KeyInput::KeyDown, VK_DOWN}},
      {Qt::Key_F2, Qt::NoModifier, "", {KeyInput::KeyDown, VK_F2}},
      {Qt::Key_F3, Qt::NoModifier, "", {KeyInput::KeyDown, VK_F3}},
      // Zoom characters arrive as characters, from the main keys and the keypad alike.
      {Qt::Key_Plus, Qt::ShiftModifier, "+", {KeyInput::Char, 43}},
      {Qt::Key_Equal, Qt::NoModifier, "=", {KeyInput::Char, 61}},
      {Qt::Key_Minus, Qt::KeypadModifier, "-", {KeyInput::Char, 45}},
      {Qt::Key_Underscore, Qt::ShiftModifier, "_", {KeyInput::Char, 95}},
      {Qt::Key_Exclam, Qt::ShiftModifier, "!", {KeyInput::Char, 33}},
      {Qt::Key_Eacute, Qt::NoModifier, "\xC3\xA9", {KeyInput::Char, 0xE9}},
      // Keys whose virtual codes would collide with meaningful codes (Insert = 45 = '-', Delete = 46, Home = 36,
      // F1 = 112 next to F2) and keys without a meaning still arrive, as code 0.
      {Qt::Key_Insert, Qt::NoModifier, "", none},
      {Qt::Key_Delete, Qt::NoModifier, "\x7f", none},
      {Qt::Key_Home, Qt::NoModifier, "", none},
      {Qt::Key_PageUp, Qt::NoModifier, "", none},
      {Qt::Key_F1, Qt::NoModifier, "", none},
      {Qt::Key_F4, Qt::NoModifier, "", none},
      {Qt::Key_Backspace, Qt::NoModifier, "\b", none},
      {Qt::Key_Shift, Qt::ShiftModifier, "", none},
      {Qt::Key_unknown, Qt::NoModifier, "", none},
  };
  for (const Case& c : cases) {
    const QKeyEvent e(QEvent::KeyPress, c.key, c.mods, QString::fromUtf8(c.text));
    const KeyInput got = TranslateKey(e);
    EXPECT_EQ(got.kind, c.expected.kind) << std::hex << c.key;
    EXPECT_EQ(got.code, c.expected.code) << std::hex << c.key;
  }
}

}  // namespace
}  // namespace obrix
