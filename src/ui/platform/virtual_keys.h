#pragma once
// Qt's key codes as the virtual-key codes of a US keyboard, for the idle
// logout, which counts a key as activity by its virtual-key code: Enter,
// space, and the codes from 0x2F up (letters, digits, the keypad, F1 to F24,
// punctuation). A shifted character reads as the key that types it ('!' is
// the key '1'); a character of another layout with no key of its own reads
// as VK_OEM_102.

#include <Qt>

namespace corvesta {

namespace vk {
inline constexpr int kNone = 0;
inline constexpr int kBack = 0x08;
inline constexpr int kTab = 0x09;
inline constexpr int kReturn = 0x0D;
inline constexpr int kShift = 0x10;
inline constexpr int kControl = 0x11;
inline constexpr int kMenu = 0x12;
inline constexpr int kPause = 0x13;
inline constexpr int kCapital = 0x14;
inline constexpr int kEscape = 0x1B;
inline constexpr int kSpace = 0x20;
inline constexpr int kPrior = 0x21;
inline constexpr int kNext = 0x22;
inline constexpr int kEnd = 0x23;
inline constexpr int kHome = 0x24;
inline constexpr int kLeft = 0x25;
inline constexpr int kUp = 0x26;
inline constexpr int kRight = 0x27;
inline constexpr int kDown = 0x28;
inline constexpr int kSnapshot = 0x2C;
inline constexpr int kInsert = 0x2D;
inline constexpr int kDelete = 0x2E;
inline constexpr int kHelp = 0x2F;
inline constexpr int k0 = 0x30;
inline constexpr int kA = 0x41;
inline constexpr int kLeftWin = 0x5B;
inline constexpr int kApps = 0x5D;
inline constexpr int kNumpad0 = 0x60;
inline constexpr int kMultiply = 0x6A;
inline constexpr int kAdd = 0x6B;
inline constexpr int kSubtract = 0x6D;
inline constexpr int kDecimal = 0x6E;
inline constexpr int kDivide = 0x6F;
inline constexpr int kF1 = 0x70;
inline constexpr int kNumLock = 0x90;
inline constexpr int kScroll = 0x91;
inline constexpr int kOem1 = 0xBA;      // ;:
inline constexpr int kOemPlus = 0xBB;   // =+
inline constexpr int kOemComma = 0xBC;  // ,<
inline constexpr int kOemMinus = 0xBD;  // -_
inline constexpr int kOemPeriod = 0xBE; // .>
inline constexpr int kOem2 = 0xBF;      // /?
inline constexpr int kOem3 = 0xC0;      // `~
inline constexpr int kOem4 = 0xDB;      // [{
inline constexpr int kOem5 = 0xDC;      // \|
inline constexpr int kOem6 = 0xDD;      // ]}
inline constexpr int kOem7 = 0xDE;      // '"
inline constexpr int kOem102 = 0xE2;    // a character key of another layout
} // namespace vk

// The virtual-key code of a Qt key; `keypad` for a key of the numeric keypad.
// 0 for keys without a code (Qt::Key_unknown, media keys).
int VirtualKeyOf(int qtKey, bool keypad = false);

// Whether a released or repeating key with this code counts as activity.
bool IsActivityKey(int virtualKey);

} // namespace corvesta
