#pragma once
// The shell-open service of the Qt program: web links go to the default
// browser, network shares to the file browser as smb:// addresses.

#include <QUrl>

#include "platform/shell_open.h"

namespace corvesta {

// "\\host\share\folder" as smb://host/share/folder, percent-encoded.
QUrl ShareUrl(const SharePath &share);

class QtShellOpenService : public ShellOpenService {
public:
  bool OpenLink(std::u16string_view link) override;
  bool OpenShare(const SharePath &share) override;
};

} // namespace corvesta
