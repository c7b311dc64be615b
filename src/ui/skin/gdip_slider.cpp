#include "ui/skin/gdip_slider.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <cmath>

#include "ui/skin/skin_colors.h"
#include "ui/skin/skin_image_ids.h"
#include "ui/skin/skin_paint.h"

namespace corvesta {
namespace {

constexpr int kWheelNotch = 120;

} // namespace

CGdipSlider::CGdipSlider(QWidget *parent) : QSlider(Qt::Vertical, parent) {
  const bool a = m_channel.LoadFromResource(skin::kSliderChannel);
  const bool b = m_top.LoadFromResource(skin::kSliderTop);
  const bool c = m_middle.LoadFromResource(skin::kSliderMiddle);
  const bool d = m_bottom.LoadFromResource(skin::kSliderBottom);
  m_imagesLoaded = a && b && c && d;
  setFocusPolicy(Qt::StrongFocus);
  // The minimum is at the top, so Down moves towards the maximum.
  setInvertedControls(true);
  connect(this, &QAbstractSlider::actionTriggered, this, &CGdipSlider::ReportKeyAction);
}

void CGdipSlider::ReportKeyAction(int action) {
  // The keyboard's moves; the mouse and the wheel report their own. The
  // slider position already holds the new place when the action is told.
  const int position = sliderPosition();
  if (position == value()) {
    return;
  }
  switch (action) {
  case QAbstractSlider::SliderSingleStepAdd:
    Q_EMIT Scrolled(ScrollCode::LineDown, position);
    break;
  case QAbstractSlider::SliderSingleStepSub:
    Q_EMIT Scrolled(ScrollCode::LineUp, position);
    break;
  case QAbstractSlider::SliderPageStepAdd:
    Q_EMIT Scrolled(ScrollCode::PageDown, position);
    break;
  case QAbstractSlider::SliderPageStepSub:
    Q_EMIT Scrolled(ScrollCode::PageUp, position);
    break;
  case QAbstractSlider::SliderToMinimum:
    Q_EMIT Scrolled(ScrollCode::Top, position);
    break;
  case QAbstractSlider::SliderToMaximum:
    Q_EMIT Scrolled(ScrollCode::Bottom, position);
    break;
  default:
    break;
  }
}

int CGdipSlider::FilledLength() const {
  return skin::FilledLength(value(), minimum(), maximum(), height());
}

int CGdipSlider::PositionAt(QPoint point) const {
  if (height() <= 0) {
    return minimum();
  }
  const double fraction = std::clamp(static_cast<double>(point.y()) / height(), 0.0, 1.0);
  return minimum() + static_cast<int>(std::lround(fraction * (maximum() - minimum())));
}

void CGdipSlider::paintEvent(QPaintEvent *) {
  if (!m_imagesLoaded) {
    return;
  }
  QPainter painter(this);
  painter.setRenderHint(QPainter::SmoothPixmapTransform);
  painter.drawPixmap(rect(), m_channel.Pixmap());
  for (const skin::BarPiece &piece : skin::BarPieces(FilledLength(), skin::kSliderLastMiddleEnd)) {
    const CGdiPlusBitmap &image = piece.kind == skin::PieceKind::Start    ? m_top
                                  : piece.kind == skin::PieceKind::Middle ? m_middle
                                                                          : m_bottom;
    painter.drawPixmap(QRect(0, piece.offset, width(), piece.length), image.Pixmap());
  }
  if (hasFocus()) {
    QColor accent = skin::SkinColor(skin::kTextAccent);
    accent.setAlpha(160);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(accent, 1.0));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 4, 4);
  }
}

void CGdipSlider::MoveTo(int position, ScrollCode code) {
  position = std::clamp(position, minimum(), maximum());
  if (position == value()) {
    return;
  }
  setValue(position);
  update();
  Q_EMIT Scrolled(code, position);
}

void CGdipSlider::mousePressEvent(QMouseEvent *event) {
  if (event->button() != Qt::LeftButton) {
    QSlider::mousePressEvent(event);
    return;
  }
  m_pressed = true;
  m_moved = false;
  setFocus(Qt::MouseFocusReason);
  const int before = value();
  MoveTo(PositionAt(event->position().toPoint()), ScrollCode::ThumbTrack);
  m_moved = value() != before;
  event->accept();
}

void CGdipSlider::mouseMoveEvent(QMouseEvent *event) {
  if (!m_pressed) {
    QSlider::mouseMoveEvent(event);
    return;
  }
  const int before = value();
  MoveTo(PositionAt(event->position().toPoint()), ScrollCode::ThumbTrack);
  m_moved = m_moved || value() != before;
  event->accept();
}

void CGdipSlider::mouseReleaseEvent(QMouseEvent *event) {
  if (!m_pressed || event->button() != Qt::LeftButton) {
    QSlider::mouseReleaseEvent(event);
    return;
  }
  const int before = value();
  MoveTo(PositionAt(event->position().toPoint()), ScrollCode::ThumbTrack);
  m_moved = m_moved || value() != before;
  m_pressed = false;
  if (m_moved) {
    Q_EMIT Scrolled(ScrollCode::ThumbPosition, value());
  }
  m_moved = false;
  event->accept();
}

void CGdipSlider::wheelEvent(QWheelEvent *event) {
  // Every full notch moves one step: towards the user down, away up.
  m_wheelRemainder += event->angleDelta().y();
  while (m_wheelRemainder <= -kWheelNotch) {
    m_wheelRemainder += kWheelNotch;
    MoveTo(value() + 1, ScrollCode::LineDown);
  }
  while (m_wheelRemainder >= kWheelNotch) {
    m_wheelRemainder -= kWheelNotch;
    MoveTo(value() - 1, ScrollCode::LineUp);
  }
  event->accept();
}

} // namespace corvesta
