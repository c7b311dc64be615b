#include "ui/skin/gdiplus_bitmap.h"

#include <QFile>
#include <QGuiApplication>
#include <QPixmapCache>
#include <QScreen>
#include <system_error>

#include "ui/skin/skin_image_table.h"

namespace corvesta {

namespace {

QString CacheKey(const QString &path) {
  return QStringLiteral("corvesta-skin:") + path;
}

// Safe on any thread: it touches no pixmap.
QImage Decode(const QString &path) {
  QImage image;
  if (!image.load(path, "PNG")) {
    return {};
  }
  return image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

} // namespace

const QPixmap &CGdiPlusBitmap::Pixmap() const {
  if (!m_pixmap.isNull() || m_path.isEmpty()) {
    return m_pixmap;
  }
  if (m_ahead.valid()) {
    m_pixmap = QPixmap::fromImage(m_ahead.get());
    m_ahead = {};
  }
  if (m_pixmap.isNull() && !QPixmapCache::find(CacheKey(m_path), &m_pixmap)) {
    m_pixmap = QPixmap::fromImage(Decode(m_path));
  }
  if (!m_pixmap.isNull()) {
    m_pixmap.setDevicePixelRatio(m_ratio);
    QPixmapCache::insert(CacheKey(m_path), m_pixmap);
  }
  return m_pixmap;
}

void CGdiPlusBitmap::DecodeAhead() {
  if (!m_pixmap.isNull() || m_path.isEmpty() || m_ahead.valid()) {
    return;
  }
  if (QPixmap cached; QPixmapCache::find(CacheKey(m_path), &cached)) {
    return; // Pixmap() takes it from the cache
  }
  try {
    m_ahead = std::async(std::launch::async, Decode, m_path).share();
  } catch (const std::system_error &) {
    // No thread to be had: the image is decoded when first drawn.
  }
}

QSize CGdiPlusBitmap::Size() const {
  if (m_size.isValid()) {
    return m_size;
  }
  return Pixmap().deviceIndependentSize().toSize();
}

void CGdiPlusBitmap::Release() {
  m_ahead = {}; // waits for a decoding ahead to end
  m_pixmap = QPixmap();
  m_path.clear();
  m_ratio = 1.0;
  m_size = QSize();
}

void CGdiPlusBitmap::SetSource(QString path, qreal devicePixelRatio, QSize size) {
  Release();
  m_path = std::move(path);
  m_ratio = devicePixelRatio;
  m_size = size;
}

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
  qreal ratio = devicePixelRatio > 1.0 ? 2.0 : 1.0;
  QString path = ResourcePath(id, ratio);
  if (!QFile::exists(path)) {
    // A missing twin falls back to the plain image.
    ratio = 1.0;
    path = ResourcePath(id, ratio);
    if (!QFile::exists(path)) {
      return false;
    }
  }
  const skin::SkinImageInfo *info = skin::FindSkinImage(id);
  SetSource(path, ratio, info != nullptr ? QSize(info->width, info->height) : QSize());
  m_id = id;
  return true;
}

} // namespace corvesta
