// corvesta: the program people start from the desktop. It needs a display;
// one copy runs per settings file; the main window is the program.

#include <QApplication>
#include <QScreen>
#include <cstdio>
#include <cstdlib>

#include "app/desktop_display.h"
#include "app/language_choice.h"
#include "app/program_arguments.h"
#include "app/program_info.h"
#include "app/settings_store.h"
#include "corvesta_identity.h"
#include "corvesta_version.h"
#include "nas/worker_drain.h"
#include "platform/app_data_folder.h"
#ifdef CORVESTA_HAVE_GIO
#include "platform/gio/gio_network_drives.h"
#endif
#include "platform/message_box.h"
#include "platform/secret_environment.h"
#include "ui/application_icon.h"
#include "ui/main/single_instance.h"
#include "ui/main/utility_dlg.h"
#include "ui/main/window_ending.h"
#include "ui/platform/ending_signals.h"
#include "ui/platform/qt_services.h"
#include "ui/qt_text.h"

using namespace corvesta;

namespace {

// Requests still running on their workers use process-wide stores: the
// core's drain gives them time to end and leaves without tearing those
// stores down when they do not. Message boxes they ask for meanwhile are
// answered as dismissed.
int DrainRequestsAndExit(int status) {
  SetMessageBoxService(nullptr);
  return FinishProcess(status);
}

QString InstanceKey() {
  if (auto file = settings::FilePath()) {
    return QString::fromStdString(file->string());
  }
  if (auto folder = ApplicationDataFolder()) {
    return QString::fromStdString(folder->string());
  }
  return QStringLiteral("no settings folder");
}

void CentreOnScreen(QWidget &window) {
  if (QScreen *screen = window.screen()) {
    const QRect area = screen->availableGeometry();
    window.move(area.center() - window.rect().center());
  }
}

} // namespace

int main(int argc, char *argv[]) {
  // Before any thread: a secret meant for corvesta-cli goes to no child.
  TakeSecretVariables();
  if (const ProgramArguments arguments = ReadProgramArguments(argc, argv);
      arguments.action != ProgramAction::Run) {
    return AnswerProgramArguments(arguments);
  }
  if (CheckDesktopDisplay() == DisplayVerdict::NoDisplay) {
    std::fprintf(stderr, "corvesta: no desktop display found; the windows need a desktop session.\n"
                         "Use corvesta-cli to set up a box from a terminal.\n");
    return 1;
  }
  QApplication application(argc, argv);
  QApplication::setApplicationName(ToQString(kProgramTitle));
  QApplication::setApplicationVersion(QString::fromLatin1(kVersion));
  QGuiApplication::setDesktopFileName(QString::fromLatin1(kApplicationId));
  InstallApplicationIcon();
  QApplication::setQuitOnLastWindowClosed(false);
  // A logout or shutdown of the desktop, a closed terminal, Ctrl-C: taken
  // from here to the program's end, so that a login is never left open.
  EndingSignals ending(ProgramEndingSignals(StartedFromTerminal()));

  SingleInstance instance(InstanceKey());
  if (!instance.Claim()) {
    return 0; // the running copy shows its window
  }

  ChooseLanguageFromSettings();
  InstallQtPlatformServices();
#ifdef CORVESTA_HAVE_GIO
  InstallGioNetworkDrives();
#endif

  int status = 0;
  {
    CUtilityDlg window;
    QObject::connect(&instance, &SingleInstance::activationRequested, &window, [&window] {
      window.showNormal();
      window.raise();
      window.activateWindow();
    });
    EndWithWindow(application, window, ending);
    CentreOnScreen(window);
    window.show();
    window.Start();
    status = ExitStatusAfter(application.exec(), ending);
  }
  return DrainRequestsAndExit(status);
}
