#include "ui/platform/virtual_keys.h"

#include <QChar>
#include <array>

namespace corvesta {

namespace {

constexpr int kLastActivityKey = 0x100;

struct KeyPair {
  int qt;
  int virtualKey;
};

// Keys that are not characters, and the characters that a US keyboard types
// with Shift, as the key that types them.
constexpr std::array kNamedKeys{
    KeyPair{Qt::Key_Backspace, vk::kBack},
    KeyPair{Qt::Key_Tab, vk::kTab},
    KeyPair{Qt::Key_Backtab, vk::kTab},
    KeyPair{Qt::Key_Return, vk::kReturn},
    KeyPair{Qt::Key_Enter, vk::kReturn},
    KeyPair{Qt::Key_Shift, vk::kShift},
    KeyPair{Qt::Key_Control, vk::kControl},
    KeyPair{Qt::Key_Alt, vk::kMenu},
    KeyPair{Qt::Key_AltGr, vk::kMenu},
    KeyPair{Qt::Key_Pause, vk::kPause},
    KeyPair{Qt::Key_CapsLock, vk::kCapital},
    KeyPair{Qt::Key_Escape, vk::kEscape},
    KeyPair{Qt::Key_Space, vk::kSpace},
    KeyPair{Qt::Key_PageUp, vk::kPrior},
    KeyPair{Qt::Key_PageDown, vk::kNext},
    KeyPair{Qt::Key_End, vk::kEnd},
    KeyPair{Qt::Key_Home, vk::kHome},
    KeyPair{Qt::Key_Left, vk::kLeft},
    KeyPair{Qt::Key_Up, vk::kUp},
    KeyPair{Qt::Key_Right, vk::kRight},
    KeyPair{Qt::Key_Down, vk::kDown},
    KeyPair{Qt::Key_Print, vk::kSnapshot},
    KeyPair{Qt::Key_Insert, vk::kInsert},
    KeyPair{Qt::Key_Delete, vk::kDelete},
    KeyPair{Qt::Key_Help, vk::kHelp},
    KeyPair{Qt::Key_Meta, vk::kLeftWin},
    KeyPair{Qt::Key_Super_L, vk::kLeftWin},
    KeyPair{Qt::Key_Super_R, vk::kLeftWin + 1},
    KeyPair{Qt::Key_Menu, vk::kApps},
    KeyPair{Qt::Key_NumLock, vk::kNumLock},
    KeyPair{Qt::Key_ScrollLock, vk::kScroll},
    KeyPair{Qt::Key_Semicolon, vk::kOem1},
    KeyPair{Qt::Key_Colon, vk::kOem1},
    KeyPair{Qt::Key_Equal, vk::kOemPlus},
    KeyPair{Qt::Key_Plus, vk::kOemPlus},
    KeyPair{Qt::Key_Comma, vk::kOemComma},
    KeyPair{Qt::Key_Less, vk::kOemComma},
    KeyPair{Qt::Key_Minus, vk::kOemMinus},
    KeyPair{Qt::Key_Underscore, vk::kOemMinus},
    KeyPair{Qt::Key_Period, vk::kOemPeriod},
    KeyPair{Qt::Key_Greater, vk::kOemPeriod},
    KeyPair{Qt::Key_Slash, vk::kOem2},
    KeyPair{Qt::Key_Question, vk::kOem2},
    KeyPair{Qt::Key_QuoteLeft, vk::kOem3},
    KeyPair{Qt::Key_AsciiTilde, vk::kOem3},
    KeyPair{Qt::Key_BracketLeft, vk::kOem4},
    KeyPair{Qt::Key_BraceLeft, vk::kOem4},
    KeyPair{Qt::Key_Backslash, vk::kOem5},
    KeyPair{Qt::Key_Bar, vk::kOem5},
    KeyPair{Qt::Key_BracketRight, vk::kOem6},
    KeyPair{Qt::Key_BraceRight, vk::kOem6},
    KeyPair{Qt::Key_Apostrophe, vk::kOem7},
    KeyPair{Qt::Key_QuoteDbl, vk::kOem7},
    KeyPair{Qt::Key_Exclam, vk::k0 + 1},
    KeyPair{Qt::Key_At, vk::k0 + 2},
    KeyPair{Qt::Key_NumberSign, vk::k0 + 3},
    KeyPair{Qt::Key_Dollar, vk::k0 + 4},
    KeyPair{Qt::Key_Percent, vk::k0 + 5},
    KeyPair{Qt::Key_AsciiCircum, vk::k0 + 6},
    KeyPair{Qt::Key_Ampersand, vk::k0 + 7},
    KeyPair{Qt::Key_Asterisk, vk::k0 + 8},
    KeyPair{Qt::Key_ParenLeft, vk::k0 + 9},
    KeyPair{Qt::Key_ParenRight, vk::k0},
};

// The keypad's own codes for what it types.
constexpr std::array kKeypadKeys{
    KeyPair{Qt::Key_Asterisk, vk::kMultiply}, KeyPair{Qt::Key_Plus, vk::kAdd},
    KeyPair{Qt::Key_Minus, vk::kSubtract},    KeyPair{Qt::Key_Period, vk::kDecimal},
    KeyPair{Qt::Key_Comma, vk::kDecimal},     KeyPair{Qt::Key_Slash, vk::kDivide},
    KeyPair{Qt::Key_Enter, vk::kReturn},      KeyPair{Qt::Key_Return, vk::kReturn},
};

constexpr int kFunctionKeys = 24;

template <std::size_t N> int Find(const std::array<KeyPair, N> &table, int qtKey) {
  for (const KeyPair &pair : table) {
    if (pair.qt == qtKey) {
      return pair.virtualKey;
    }
  }
  return vk::kNone;
}

} // namespace

int VirtualKeyOf(int qtKey, bool keypad) {
  if (keypad) {
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) {
      return vk::kNumpad0 + (qtKey - Qt::Key_0);
    }
    if (const int code = Find(kKeypadKeys, qtKey); code != vk::kNone) {
      return code;
    }
  }
  if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) {
    return vk::k0 + (qtKey - Qt::Key_0);
  }
  if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) {
    return vk::kA + (qtKey - Qt::Key_A);
  }
  if (qtKey >= Qt::Key_F1 && qtKey < Qt::Key_F1 + kFunctionKeys) {
    return vk::kF1 + (qtKey - Qt::Key_F1);
  }
  if (const int code = Find(kNamedKeys, qtKey); code != vk::kNone) {
    return code;
  }
  // Characters of other layouts (letters with accents, Cyrillic): Qt gives
  // the character itself as the key.
  if (qtKey > Qt::Key_Space && qtKey < Qt::Key_Escape && QChar::isPrint(char32_t(qtKey))) {
    return vk::kOem102;
  }
  return vk::kNone;
}

bool IsActivityKey(int virtualKey) {
  return virtualKey == vk::kReturn || virtualKey == vk::kSpace ||
         (virtualKey >= vk::kHelp && virtualKey <= kLastActivityKey);
}

} // namespace corvesta
