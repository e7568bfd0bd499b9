#pragma once
// The one input of the command decoders: a command identifier, a key-down code or a character code.
namespace obrix {

struct KeyInput {
  enum Kind { Command, KeyDown, Char };
  Kind kind = KeyDown;
  int code = 0;  // command identifier, virtual-key code (0 = a key without a code) or character code
  bool operator==(const KeyInput&) const = default;
};

// Virtual-key codes of the key-down input. Letters are their upper-case codes, digits their character codes.
inline constexpr int VK_TAB = 9;
inline constexpr int VK_RETURN = 13;
inline constexpr int VK_ESCAPE = 27;
inline constexpr int VK_SPACE = 32;
inline constexpr int VK_LEFT = 37;
inline constexpr int VK_UP = 38;
inline constexpr int VK_RIGHT = 39;
inline constexpr int VK_DOWN = 40;
inline constexpr int VK_F2 = 113;
inline constexpr int VK_F3 = 114;
inline constexpr int VK_LETTER_A = 'A';  // 'A'..'Z' = 65..90
inline constexpr int VK_DIGIT_0 = '0';   // '0'..'9' = 48..57

inline constexpr int VirtualKeyOfLetter(char c) {
  return (c >= 'a' && c <= 'z') ? c - 'a' + 'A' : c;
}

}  // namespace obrix
