#include "ui/skin/gdip_icon_static.h"

#include <QPainter>

namespace corvesta {

CGdipIconStatic::CGdipIconStatic(QWidget *parent) : QWidget(parent) {
  setAttribute(Qt::WA_TransparentForMouseEvents);
}

bool CGdipIconStatic::SetImage(int id) {
  const bool loaded = m_image.LoadFromResource(id);
  update();
  return loaded;
}

QSize CGdipIconStatic::sizeHint() const {
  return m_image.IsNull() ? QSize() : m_image.Size();
}

void CGdipIconStatic::paintEvent(QPaintEvent *) {
  if (m_image.IsNull()) {
    return;
  }
  QPainter painter(this);
  painter.setRenderHint(QPainter::SmoothPixmapTransform);
  painter.drawPixmap(rect(), m_image.Pixmap());
}

} // namespace corvesta
