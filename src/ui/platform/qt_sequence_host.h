#pragma once
// The host of the core's sequences in a Qt window: the sequences' requests
// report to the window's handle, and their timers are Qt timers on the UI
// thread. The window hands every message it gets to its sequences and gives
// each due timer to the handler it set here.

#include <QObject>
#include <functional>
#include <map>

#include "setup/sequence.h"

class QTimer;

namespace corvesta {

class QtSequenceHost : public QObject, public SequenceHost {
  Q_OBJECT
public:
  using TimerHandler = std::function<void(int id)>;

  QtSequenceHost(WindowHandle window, TimerHandler onTimer, QObject *parent = nullptr);
  ~QtSequenceHost() override;

  WindowHandle Window() const override { return m_window; }
  void StartTimer(int id, std::chrono::milliseconds delay) override;
  void StopTimer(int id) override;

  bool TimerPending(int id) const;

private:
  WindowHandle m_window;
  TimerHandler m_onTimer;
  std::map<int, QTimer *> m_timers;
};

} // namespace corvesta
