#include "ui/platform/qt_services.h"

#include <memory>

#include "platform/message_box.h"
#include "platform/shell_open.h"
#include "ui/platform/qt_message_box.h"
#include "ui/platform/qt_shell_open.h"

namespace corvesta {

void InstallQtPlatformServices() {
  SetMessageBoxService(std::make_shared<QtMessageBoxService>());
  SetShellOpenService(std::make_shared<QtShellOpenService>());
}

} // namespace corvesta
