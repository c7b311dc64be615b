#pragma once
// The colours of the skinned controls' texts and frames.

#include <QColor>

namespace corvesta::skin {

// Behind a dialog wherever its background image does not reach.
inline constexpr QRgb kDialogFill = 0x16191E;

inline constexpr QRgb kTextNormal = 0xFFFFFF;        // white text
inline constexpr QRgb kTextDisabled = 0x646464;      // grey text of disabled controls
inline constexpr QRgb kTextAccent = 0x00A0FF;        // current step, hovered items
inline constexpr QRgb kTextBottomButton = 0x969696;  // bottom text buttons at rest
inline constexpr QRgb kTextShortcut = 0xC8C8C8;      // usable sidebar entries at rest
inline constexpr QRgb kTextComboFace = 0x323232;     // drop-down list text
inline constexpr QRgb kSelectionFill = 0x505050;     // selection bars
inline constexpr QRgb kToolTipBackground = 0x000000; // tool tip defaults
inline constexpr QRgb kToolTipText = 0xFFFFFF;
inline constexpr QRgb kToolTipFrame = 0xC8C8C8;

inline QColor SkinColor(QRgb rgb) {
  return QColor::fromRgb(rgb);
}

} // namespace corvesta::skin
