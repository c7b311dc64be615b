#include "ui/main/window_ending.h"

#include <QApplication>

#include "ui/main/utility_dlg.h"
#include "ui/platform/ending_signals.h"

namespace corvesta {

namespace {
constexpr int kSignalStatusBase = 128;
}

void EndWithWindow(QApplication &application, CUtilityDlg &window, EndingSignals &ending) {
  QObject::connect(&window, &CUtilityDlg::closing, &application, &QApplication::quit);
  QObject::connect(&application, &QCoreApplication::aboutToQuit, &window,
                   [&window] { window.OnClose(); });
  QObject::connect(&ending, &EndingSignals::ending, &window, [&window] { window.OnClose(); });
}

int ExitStatusAfter(int applicationStatus, const EndingSignals &ending) {
  return ending.Received() != 0 ? kSignalStatusBase + ending.Received() : applicationStatus;
}

} // namespace corvesta
