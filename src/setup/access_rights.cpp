#include "setup/access_rights.h"

#include <cstddef>

namespace corvesta {

namespace {
constexpr std::size_t kDownloadPosition = 2;
constexpr std::size_t kBackupPosition = 6;
constexpr std::size_t kManagementPosition = 8;
constexpr std::size_t kSurveillancePosition = 10;
} // namespace

CenterRights RightsFromAccessText(std::u16string_view access) {
  auto open = [&](std::size_t position) {
    return position < access.size() && access[position] != u'0';
  };
  return CenterRights{open(kDownloadPosition), open(kBackupPosition), open(kManagementPosition),
                      open(kSurveillancePosition)};
}

} // namespace corvesta
