#include "ui/application_icon.h"

#include <QApplication>
#include <QDirIterator>
#include <QFileInfo>
#include <QTimer>

#include "corvesta_identity.h"

namespace corvesta {

namespace {

// Window icons are offered to the window manager in every size the icon
// holds; beyond this the theme's copy serves (and the images only cost
// decoding at start).
constexpr int kLargestWindowIcon = 256;

} // namespace

// The sizes rasterised into the resources as :/desktop/<size>.png, up to
// the largest a window icon needs. QIcon decodes each file it is given.
QIcon BuiltInApplicationIcon() {
  QIcon icon;
  QDirIterator sizes(QStringLiteral(":/desktop"), {QStringLiteral("*.png")}, QDir::Files);
  while (sizes.hasNext()) {
    const QString path = sizes.next();
    bool isNumber = false;
    const int size = QFileInfo(path).baseName().toInt(&isNumber);
    if (isNumber && size <= kLargestWindowIcon) {
      icon.addFile(path, QSize(size, size));
    }
  }
  return icon;
}

QIcon ThemedApplicationIcon() {
  QIcon themed = QIcon::fromTheme(QString::fromLatin1(kApplicationId));
  return themed.isNull() || themed.availableSizes().isEmpty() ? QIcon() : themed;
}

void InstallApplicationIcon() {
  QApplication::setWindowIcon(BuiltInApplicationIcon());
  QTimer::singleShot(0, qApp, [] {
    if (QIcon themed = ThemedApplicationIcon(); !themed.isNull()) {
      QApplication::setWindowIcon(themed);
    }
  });
}

} // namespace corvesta
