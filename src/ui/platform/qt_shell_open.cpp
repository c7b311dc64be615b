#include "ui/platform/qt_shell_open.h"

#include <QDesktopServices>

#include "ui/qt_text.h"

namespace corvesta {

QUrl ShareUrl(const SharePath &share) {
  QUrl url;
  url.setScheme(QStringLiteral("smb"));
  url.setHost(ToQString(share.host));
  url.setPath(QLatin1Char('/') + ToQString(share.path));
  return url;
}

bool QtShellOpenService::OpenLink(std::u16string_view link) {
  QUrl url(ToQString(link), QUrl::StrictMode);
  if (!url.isValid()) {
    return false;
  }
  return QDesktopServices::openUrl(url);
}

bool QtShellOpenService::OpenShare(const SharePath &share) {
  QUrl url = ShareUrl(share);
  return url.isValid() && QDesktopServices::openUrl(url);
}

} // namespace corvesta
