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
  const QRect textArea(TextLeft(), 0, std::max(0, width() - kRightGap - TextLeft()), height());
  if (DrawsText()) {
    painter.setFont(font());
    painter.setPen(skin::SkinColor(color));
    painter.drawText(textArea, Qt::AlignLeft | Qt::AlignBottom | Qt::TextSingleLine, text());
  }
  QFontMetrics metrics(font());
  QRect textBox = metrics.boundingRect(textArea, Qt::AlignLeft | Qt::AlignBottom, text());
  DrawFocusFrame(painter, textBox.adjusted(-3, -1, 3, 0).intersected(rect()));
}

} // namespace corvesta
