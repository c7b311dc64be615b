#include "ui/skin/bottom_icon_button.h"

#include <QFontMetrics>
#include <QPainter>

#include "ui/skin/skin_colors.h"
#include "ui/skin/skin_font.h"

namespace corvesta {
namespace {

constexpr int kTextHeight = 16;

} // namespace

CBottomIconButton::CBottomIconButton(QWidget *parent) : CSkinButton(parent) {
  setFont(skin::SkinFont(kTextHeight));
}

QSize CBottomIconButton::sizeHint() const {
  QFontMetrics metrics(font());
  return {metrics.horizontalAdvance(text()) + 16, metrics.height() + 6};
}

std::vector<skin::TextRoom> CBottomIconButton::TextRooms() const {
  if (!DrawsText()) {
    return {};
  }
  return {{text(), font(), rect(), Qt::AlignHCenter | Qt::AlignTop | Qt::TextSingleLine}};
}

void CBottomIconButton::paintEvent(QPaintEvent *) {
  QPainter painter(this);
  QRgb color = skin::kTextBottomButton;
  if (!isEnabled()) {
    color = skin::kTextDisabled;
  } else if (IsHovered()) {
    color = skin::kTextNormal;
  }
  if (DrawsText()) {
    painter.setPen(skin::SkinColor(color));
    skin::DrawFittedText(painter, TextRooms().front());
  }
  QFontMetrics metrics(font());
  QRect textBox = metrics.boundingRect(rect(), Qt::AlignHCenter | Qt::AlignTop, text());
  DrawFocusFrame(painter, textBox.adjusted(-4, 0, 4, 2).intersected(rect()));
}

} // namespace corvesta
