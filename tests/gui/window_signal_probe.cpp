// The program's main window run as corvesta runs it, with its ending wired
// as the program wires it, logged in to a box before anything else happens:
// the process a test sends ending signals to once it is logged in. Message
// boxes are dismissed (the first-run offer among them).
//
//   window_signal_probe BOX USER PASSWORD
//
// Prints "logged in" on standard output once the box accepted the login; "no
// login" and exit status 3 when it did not within the limit.

#include <QApplication>
#include <QElapsedTimer>
#include <cstdio>

#include "main_window_sim.h"
#include "nas/worker_drain.h"
#include "platform/message_box.h"
#include "ui/main/window_ending.h"
#include "ui/platform/ending_signals.h"

using namespace corvesta;

int main(int argc, char *argv[]) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: window_signal_probe BOX USER PASSWORD\n");
    return 2;
  }
  QApplication application(argc, argv);
  QApplication::setQuitOnLastWindowClosed(false);
  EndingSignals ending(ProgramEndingSignals(StartedFromTerminal()));
  ScopedMessageBoxRecorder boxes;
  int status = 0;
  {
    CUtilityDlg window;
    EndWithWindow(application, window, ending);
    window.show();
    window.Start();
    QElapsedTimer clock;
    clock.start();
    bool asked = false;
    while (!window.LoggedIn() && clock.elapsed() < 30000) {
      if (!asked && window.State() == UiState::Listed) {
        test::ConnectAs(window, QString::fromLocal8Bit(argv[1]), QString::fromLocal8Bit(argv[2]),
                        QString::fromLocal8Bit(argv[3]));
        asked = true;
      }
      QApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    if (!window.LoggedIn()) {
      std::printf("no login\n");
      return 3;
    }
    std::printf("logged in\n");
    std::fflush(stdout);
    status = ExitStatusAfter(application.exec(), ending);
  }
  SetMessageBoxService(nullptr);
  return FinishProcess(status);
}
