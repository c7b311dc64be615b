#pragma once
// How the program ends with its main window. The window's Close (and
// Alt+F4, the taskbar's close, the session's end) ends the application; an
// ending signal closes the window as its Close does, so that a box logged in
// to is logged out before the program ends.

class QApplication;

namespace corvesta {

class CUtilityDlg;
class EndingSignals;

void EndWithWindow(QApplication &application, CUtilityDlg &window, EndingSignals &ending);

// The program's exit status: the application's, or 128 plus the number of
// the signal that ended it, as a shell reports it.
int ExitStatusAfter(int applicationStatus, const EndingSignals &ending);

} // namespace corvesta
