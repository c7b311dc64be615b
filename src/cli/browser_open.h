#pragma once
// Opening a web link from the command line: the desktop's xdg-open, started
// without a shell and not waited for.

#include "platform/shell_open.h"

namespace corvesta::cli {

class XdgOpenService : public ShellOpenService {
public:
  bool OpenLink(std::u16string_view link) override;
  // Shares are not opened from the command line.
  bool OpenShare(const SharePath &share) override;
};

} // namespace corvesta::cli
