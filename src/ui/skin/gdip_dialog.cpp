#include "ui/skin/gdip_dialog.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QRegion>
#include <QWindow>
#include <cmath>
#include <numbers>

#include "ui/platform/qt_message_target.h"
#include "ui/skin/control_id.h"
#include "ui/skin/skin_colors.h"

namespace corvesta {

CGdipDialog::CGdipDialog(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint),
      m_target(new QtMessageTarget(
          this, [this](UINT m, WPARAM w, LPARAM l) { return WindowProc(m, w, l); }, this)) {
  QPalette dark = palette();
  dark.setColor(QPalette::Window, skin::SkinColor(skin::kDialogFill));
  // Plain Qt labels placed on the skin stay legible.
  dark.setColor(QPalette::WindowText, skin::SkinColor(skin::kTextNormal));
  setPalette(dark);
}

CGdipDialog::~CGdipDialog() {
  // Unregister before the members go, so no message reaches a half-destroyed
  // dialog.
  delete m_target;
}

WindowHandle CGdipDialog::Handle() const {
  return m_target->Handle();
}

LRESULT CGdipDialog::WindowProc(UINT message, WPARAM, LPARAM) {
  if (message == WM_CLOSE) {
    reject();
  }
  return 0;
}

bool CGdipDialog::SetBackgroundImage(int id) {
  m_background.LoadFromResource(id);
  // Decoded while the dialog builds its controls; drawn at the first paint.
  m_background.DecodeAhead();
  m_cache = QPixmap();
  m_cacheStale = true;
  update();
  return HasBackground();
}

void CGdipDialog::RebuildCache() {
  m_cacheStale = false;
  m_cache = QPixmap();
  if (m_background.IsNull() || size().isEmpty()) {
    return;
  }
  const qreal ratio = devicePixelRatioF();
  m_cache = QPixmap(size() * ratio);
  m_cache.setDevicePixelRatio(ratio);
  m_cache.fill(Qt::transparent);
  QPainter painter(&m_cache);
  painter.setRenderHint(QPainter::SmoothPixmapTransform);
  const QSize drawn = m_background.Size().boundedTo(size());
  painter.drawPixmap(QRect(QPoint(0, 0), drawn), m_background.Pixmap());
}

void CGdipDialog::SetWindowOutline(const QPolygon &outline) {
  if (outline.isEmpty()) {
    clearMask();
  } else {
    setMask(QRegion(outline, Qt::WindingFill));
  }
}

QPolygon CGdipDialog::RoundedOutline(QSize size, int radius) {
  QPolygon outline;
  const int w = size.width();
  const int h = size.height();
  radius = std::clamp(radius, 0, std::min(w, h) / 2);
  if (radius == 0) {
    return QPolygon(QRect(QPoint(0, 0), size));
  }
  // Quarter circles round the corners, one point per degree step of 10.
  const QPoint centres[] = {
      {w - radius, radius}, {w - radius, h - radius}, {radius, h - radius}, {radius, radius}};
  const int startAngles[] = {-90, 0, 90, 180};
  for (int corner = 0; corner < 4; ++corner) {
    for (int step = 0; step <= 9; ++step) {
      const double angle = (startAngles[corner] + step * 10) * std::numbers::pi / 180.0;
      outline << QPoint(
          centres[corner].x() + static_cast<int>(std::lround(radius * std::cos(angle))),
          centres[corner].y() + static_cast<int>(std::lround(radius * std::sin(angle))));
    }
  }
  return outline;
}

QWidget *CGdipDialog::GetDlgItem(int id) const {
  return FindDlgItem(this, id);
}

void CGdipDialog::SetDefaultButton(QAbstractButton *button) {
  m_defaultButton = button;
}

void CGdipDialog::keyPressEvent(QKeyEvent *event) {
  const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
  QAbstractButton *button = m_defaultButton.data();
  if (enter && event->modifiers() == Qt::NoModifier && button != nullptr && button->isEnabled() &&
      button->isVisible()) {
    button->animateClick();
    event->accept();
    return;
  }
  QDialog::keyPressEvent(event);
}

void CGdipDialog::paintEvent(QPaintEvent *) {
  if (m_cacheStale ||
      (!m_background.IsNull() && !qFuzzyCompare(m_cache.devicePixelRatio(), devicePixelRatioF()))) {
    RebuildCache(); // a new image or size, or moved to a screen of another pixel ratio
  }
  if (m_cache.isNull()) {
    return;
  }
  QPainter painter(this);
  painter.drawPixmap(0, 0, m_cache);
}

void CGdipDialog::resizeEvent(QResizeEvent *event) {
  QDialog::resizeEvent(event);
  m_cacheStale = true; // rebuilt at the next paint
}

void CGdipDialog::mousePressEvent(QMouseEvent *event) {
  if (event->button() != Qt::LeftButton) {
    QDialog::mousePressEvent(event);
    return;
  }
  QWindow *window = windowHandle();
  if (window != nullptr && window->startSystemMove()) {
    return;
  }
  m_dragging = true;
  m_dragOffset = event->globalPosition().toPoint() - frameGeometry().topLeft();
}

void CGdipDialog::mouseMoveEvent(QMouseEvent *event) {
  if (m_dragging && (event->buttons() & Qt::LeftButton)) {
    move(event->globalPosition().toPoint() - m_dragOffset);
    return;
  }
  QDialog::mouseMoveEvent(event);
}

void CGdipDialog::mouseReleaseEvent(QMouseEvent *event) {
  if (event->button() == Qt::LeftButton) {
    m_dragging = false;
  }
  QDialog::mouseReleaseEvent(event);
}

} // namespace corvesta
