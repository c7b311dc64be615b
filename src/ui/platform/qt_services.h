#pragma once
// Installs the Qt program's platform services: message boxes shown as the
// skinned message dialog (also for worker threads) and links and shares
// opened on the desktop. Called once on the UI thread after the QApplication
// exists.

namespace corvesta {

void InstallQtPlatformServices();

} // namespace corvesta
