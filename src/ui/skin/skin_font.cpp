#include "ui/skin/skin_font.h"

#include <QStringList>
#include <algorithm>
#include <cmath>

namespace corvesta::skin {
namespace {

// The em size that gives a cell of the wanted height in the usual sans-serif
// faces (their line spacing is about 1.2 em).
constexpr double kEmPerCell = 0.82;
constexpr int kBoldFrom = 550;

} // namespace

QFont SkinFont(int height, int weight) {
  QFont font;
  font.setFamilies(
      {QStringLiteral("Decker"), QStringLiteral("DejaVu Sans"), QStringLiteral("sans-serif")});
  font.setStyleHint(QFont::SansSerif);
  font.setStretch(QFont::SemiCondensed);
  font.setPixelSize(std::max(1, static_cast<int>(std::lround(height * kEmPerCell))));
  font.setWeight(weight >= kBoldFrom ? QFont::Bold : QFont::Normal);
  font.setItalic(false);
  font.setUnderline(false);
  font.setStrikeOut(false);
  return font;
}

} // namespace corvesta::skin
