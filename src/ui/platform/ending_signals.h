#pragma once
// Signals that end the program (a desktop logout or shutdown sends SIGTERM,
// a closed terminal SIGHUP, Ctrl-C SIGINT) taken on the UI thread: the
// handler only writes the signal's number into a socket pair, and a socket
// notifier reads it there and emits `ending`. Nothing else runs in the
// handler. One watcher at a time; its end puts the signals' default actions
// back.

#include <QObject>
#include <QSocketNotifier>
#include <vector>

namespace corvesta {

// SIGTERM and SIGHUP; SIGINT too when the program was started from a
// terminal (its standard input is one), where Ctrl-C means "close".
std::vector<int> ProgramEndingSignals(bool startedFromTerminal);
bool StartedFromTerminal();

class EndingSignals : public QObject {
  Q_OBJECT
public:
  explicit EndingSignals(const std::vector<int> &watched, QObject *parent = nullptr);
  ~EndingSignals() override;
  EndingSignals(const EndingSignals &) = delete;
  EndingSignals &operator=(const EndingSignals &) = delete;

  // False when the socket pair or a handler could not be set up (the
  // signals then keep their default actions).
  bool Active() const { return m_notifier != nullptr; }
  // The first signal taken; 0 before any.
  int Received() const { return m_received; }

Q_SIGNALS:
  // For every signal taken, on the UI thread.
  void ending(int signal);

private:
  void ReadSignals();

  std::vector<int> m_signals;
  QSocketNotifier *m_notifier = nullptr;
  int m_received = 0;
};

} // namespace corvesta
