#include "ui/skin/gdiplus_bitmap.h"

#include <QGuiApplication>
#include <QScreen>

namespace corvesta {

QString CGdiPlusBitmapResource::ResourcePath(int id, qreal devicePixelRatio) {
  QString path = QStringLiteral(":/skin/") + QString::number(id);
  return devicePixelRatio > 1.0 ? path + QStringLiteral("@2x.png") : path + QStringLiteral(".png");
}

qreal CGdiPlusBitmapResource::ScreenPixelRatio() {
  if (qobject_cast<QGuiApplication *>(QCoreApplication::instance()) == nullptr) {
    return 1.0;
  }
  qreal ratio = 1.0;
  for (const QScreen *screen : QGuiApplication::screens()) {
    ratio = std::max(ratio, screen->devicePixelRatio());
  }
  return ratio;
}

bool CGdiPlusBitmapResource::LoadFromResource(int id) {
  return LoadFromResource(id, ScreenPixelRatio());
}

bool CGdiPlusBitmapResource::LoadFromResource(int id, qreal devicePixelRatio) {
  Release();
  m_id = 0;
  if (qobject_cast<QGuiApplication *>(QCoreApplication::instance()) == nullptr) {
    return false; // pixmaps need the GUI
  }
  const qreal ratio = devicePixelRatio > 1.0 ? 2.0 : 1.0;
  QPixmap pixmap;
  if (!pixmap.load(ResourcePath(id, ratio), "PNG")) {
    // A missing twin falls back to the plain image.
    if (ratio == 1.0 || !pixmap.load(ResourcePath(id, 1.0), "PNG")) {
      return false;
    }
  } else {
    pixmap.setDevicePixelRatio(ratio);
  }
  m_pixmap = pixmap;
  m_id = id;
  return true;
}

} // namespace corvesta
