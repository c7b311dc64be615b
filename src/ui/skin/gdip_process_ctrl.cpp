#include "ui/skin/gdip_process_ctrl.h"

#include <QAccessible>
#include <QPainter>

#include "ui/skin/skin_accessibility.h"
#include "ui/skin/skin_paint.h"

namespace corvesta {

CGdipProcessCtrl::CGdipProcessCtrl(QWidget *parent) : QWidget(parent) {
  InstallSkinAccessibility();
}

bool CGdipProcessCtrl::SetBarImages(int background, int leftEnd, int middle, int rightEnd) {
  m_imagesLoaded = false;
  const bool a = m_background.LoadFromResource(background);
  const bool b = m_leftEnd.LoadFromResource(leftEnd);
  const bool c = m_middle.LoadFromResource(middle);
  const bool d = m_rightEnd.LoadFromResource(rightEnd);
  m_imagesLoaded = a && b && c && d;
  update();
  return m_imagesLoaded;
}

void CGdipProcessCtrl::SetRange(int minimum, int maximum) {
  m_minimum = minimum;
  m_maximum = maximum;
  update();
}

void CGdipProcessCtrl::SetPos(int position) {
  if (position == m_position) {
    return;
  }
  m_position = position;
  update();
  if (QAccessible::isActive()) {
    QAccessibleValueChangeEvent event(this, position);
    QAccessible::updateAccessibility(&event);
  }
}

int CGdipProcessCtrl::FilledLength() const {
  return skin::FilledLength(m_position, m_minimum, m_maximum, width());
}

void CGdipProcessCtrl::paintEvent(QPaintEvent *) {
  if (!m_imagesLoaded) {
    return;
  }
  QPainter painter(this);
  painter.setRenderHint(QPainter::SmoothPixmapTransform);
  painter.drawPixmap(rect(), m_background.Pixmap());
  for (const skin::BarPiece &piece :
       skin::BarPieces(FilledLength(), skin::kProgressLastMiddleEnd)) {
    const CGdiPlusBitmap &image = piece.kind == skin::PieceKind::Start    ? m_leftEnd
                                  : piece.kind == skin::PieceKind::Middle ? m_middle
                                                                          : m_rightEnd;
    painter.drawPixmap(QRect(piece.offset, 0, piece.length, height()), image.Pixmap());
  }
}

} // namespace corvesta
