#pragma once
// The skin's font: the face "Decker" at a height and weight, with the
// desktop's sans-serif face standing in when Decker is not installed.

#include <QFont>

namespace corvesta::skin {

inline constexpr int kWeightRegular = 100;
inline constexpr int kWeightBold = 700;
// The cell height of a dialog's title in its title strip, the same in every
// dialog.
inline constexpr int kTitleStripTextHeight = 20;

// `height` is the character cell height in pixels, `weight` 100 to 900.
// Weights below 550 draw regular, the others bold: the fall-back faces have
// no thin cut worth showing on a dark background.
QFont SkinFont(int height, int weight = kWeightRegular);

} // namespace corvesta::skin
