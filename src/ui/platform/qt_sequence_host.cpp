#include "ui/platform/qt_sequence_host.h"

#include <QTimer>

namespace corvesta {

QtSequenceHost::QtSequenceHost(WindowHandle window, TimerHandler onTimer, QObject *parent)
    : QObject(parent), m_window(window), m_onTimer(std::move(onTimer)) {}

QtSequenceHost::~QtSequenceHost() = default;

void QtSequenceHost::StartTimer(int id, std::chrono::milliseconds delay) {
  QTimer *&timer = m_timers[id];
  if (timer == nullptr) {
    timer = new QTimer(this);
    timer->setSingleShot(true);
    connect(timer, &QTimer::timeout, this, [this, id] {
      if (m_onTimer) {
        m_onTimer(id);
      }
    });
  }
  timer->start(delay);
}

void QtSequenceHost::StopTimer(int id) {
  if (auto found = m_timers.find(id); found != m_timers.end()) {
    found->second->stop();
  }
}

bool QtSequenceHost::TimerPending(int id) const {
  const auto found = m_timers.find(id);
  return found != m_timers.end() && found->second->isActive();
}

} // namespace corvesta
