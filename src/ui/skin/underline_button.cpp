#include "ui/skin/underline_button.h"

#include <QPainter>

#include "ui/skin/skin_colors.h"
#include "ui/skin/skin_font.h"
#include "ui/skin/skin_image_ids.h"

namespace corvesta {
namespace {

constexpr int kTextHeight = 18;
constexpr int kTextLeft = 60;
constexpr int kHoverShift = 25;
constexpr int kRightGap = 2;

} // namespace

CUnderLineButton::CUnderLineButton(QWidget *parent)
    : CSkinButton(parent), m_underline(skin::kUnderline) {
  setFont(skin::SkinFont(kTextHeight));
}

int CUnderLineButton::TextLeft() const {
  return IsHovered() && isEnabled() ? kTextLeft + kHoverShift : kTextLeft;
}

skin::TextRoom CUnderLineButton::Room(int left) const {
  return {text(), font(), QRect(left, 0, std::max(0, width() - kRightGap - left), height()),
          Qt::AlignLeft | Qt::AlignBottom | Qt::TextWordWrap};
}

std::vector<skin::TextRoom> CUnderLineButton::TextRooms() const {
  if (!DrawsText()) {
    return {};
  }
  return {Room(kTextLeft + kHoverShift)};
}

int CUnderLineButton::HeightFor(int width, int oneLineHeight) const {
  const QFontMetrics metrics(font(), this);
  const int room = std::max(1, width - kRightGap - kTextLeft - kHoverShift);
  const QRect wrapped = metrics.boundingRect(QRect(0, 0, room, 0), Qt::TextWordWrap, text());
  const int spacing = std::max(1, metrics.lineSpacing());
  const int lines = std::max(1, (wrapped.height() + spacing - 1) / spacing);
  return oneLineHeight + (lines - 1) * spacing;
}

void CUnderLineButton::paintEvent(QPaintEvent *) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::SmoothPixmapTransform);
  if (!m_underline.IsNull()) {
    painter.drawPixmap(QRect(0, height() - 1, width(), 1), m_underline.Pixmap());
  }
  QRgb color = skin::kTextNormal;
  if (!isEnabled()) {
    color = skin::kTextDisabled;
  } else if (IsHovered()) {
    color = skin::kTextAccent;
  }
  const skin::TextRoom room = Room(TextLeft());
  if (DrawsText()) {
    painter.setPen(skin::SkinColor(color));
    skin::DrawFittedText(painter, room);
  }
  QFontMetrics metrics(font());
  QRect textBox = metrics.boundingRect(room.room, room.flags, text()).intersected(room.room);
  DrawFocusFrame(painter, textBox.adjusted(-3, -1, 3, 0).intersected(rect()));
}

} // namespace corvesta
