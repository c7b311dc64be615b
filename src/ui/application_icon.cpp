#include "ui/application_icon.h"

#include <QDirIterator>

#include "corvesta_identity.h"

namespace corvesta {

namespace {

// Every size rasterised into the resources under :/desktop.
QIcon BuiltInIcon() {
  QIcon icon;
  QDirIterator sizes(QStringLiteral(":/desktop"), {QStringLiteral("*.png")}, QDir::Files);
  while (sizes.hasNext()) {
    icon.addFile(sizes.next());
  }
  return icon;
}

} // namespace

QIcon ApplicationIcon() {
  return QIcon::fromTheme(QString::fromLatin1(kApplicationId), BuiltInIcon());
}

} // namespace corvesta
