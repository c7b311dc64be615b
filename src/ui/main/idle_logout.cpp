#include "ui/main/idle_logout.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWidget>
#include <QWindow>
#include <cmath>

#include "ui/platform/virtual_keys.h"
#include "ui/skin/gdip_dialog.h"
#include "worker/private_messages.h"

namespace corvesta {

namespace {

std::uint32_t g_idleTime = kIdleSixtyMinutes;
double g_idleScale = 1.0;

// A left press on a skinned window's own surface moves the window.
bool StartsWindowMove(QObject *receiver) {
  auto *dialog = qobject_cast<CGdipDialog *>(receiver);
  return dialog != nullptr && dialog->isWindow() &&
         dialog->windowFlags().testFlag(Qt::FramelessWindowHint);
}

} // namespace

std::uint32_t IdleTime() {
  return g_idleTime;
}

void SetIdleTime(std::uint32_t milliseconds) {
  g_idleTime = milliseconds;
}

std::chrono::milliseconds IdlePeriod(std::uint32_t idleTime) {
  const double scaled = std::ceil(static_cast<double>(idleTime) * g_idleScale);
  return std::chrono::milliseconds(static_cast<std::int64_t>(std::max(1.0, scaled)));
}

ScopedIdleTimeScale::ScopedIdleTimeScale(double factor) : m_previous(g_idleScale) {
  if (factor > 0) {
    g_idleScale = factor;
  }
}

ScopedIdleTimeScale::~ScopedIdleTimeScale() {
  g_idleScale = m_previous;
}

ActivityFilter::ActivityFilter(CGdipDialog *target, QObject *parent)
    : QObject(parent), m_target(target) {}

ActivityFilter::~ActivityFilter() {
  Remove();
}

void ActivityFilter::Install() {
  Remove();
  if (QCoreApplication *application = QCoreApplication::instance()) {
    application->installEventFilter(this);
    m_installed = true;
  }
}

void ActivityFilter::Remove() {
  if (m_installed) {
    if (QCoreApplication *application = QCoreApplication::instance()) {
      application->removeEventFilter(this);
    }
    m_installed = false;
  }
  m_seen = {};
}

bool ActivityFilter::SameActionSeenBelow(QObject *receiver, int type, int code,
                                         quint64 timestamp) const {
  if (m_seen.type != type || m_seen.code != code || m_seen.timestamp != timestamp) {
    return false;
  }
  if (receiver == m_seen.next) {
    return true; // passed on to the parent
  }
  // From the window system's window to the widget inside it.
  return m_seen.window != nullptr && receiver->isWidgetType() &&
         static_cast<QWidget *>(receiver)->window()->windowHandle() == m_seen.window;
}

bool ActivityFilter::IsActivity(QObject *receiver, QEvent *event) {
  int code = 0;
  quint64 timestamp = 0;
  switch (event->type()) {
  case QEvent::KeyPress:
  case QEvent::KeyRelease: {
    auto *key = static_cast<QKeyEvent *>(event);
    // A release, or a key held down repeating (Windows sees a repeat as a
    // press of a key that was down already); the releases the window system
    // inserts between repeats are the same action.
    const bool repeat = key->isAutoRepeat();
    if ((event->type() == QEvent::KeyPress) != repeat) {
      return false;
    }
    const int virtualKey = VirtualKeyOf(key->key(), key->modifiers().testFlag(Qt::KeypadModifier));
    if (!IsActivityKey(virtualKey)) {
      return false;
    }
    code = key->key();
    timestamp = key->timestamp();
    break;
  }
  case QEvent::MouseButtonRelease: {
    auto *mouse = static_cast<QMouseEvent *>(event);
    if (mouse->button() != Qt::LeftButton) {
      return false;
    }
    code = Qt::LeftButton;
    timestamp = mouse->timestamp();
    break;
  }
  case QEvent::MouseButtonPress: {
    auto *mouse = static_cast<QMouseEvent *>(event);
    if (mouse->button() != Qt::LeftButton || !StartsWindowMove(receiver)) {
      return false;
    }
    code = Qt::LeftButton;
    timestamp = mouse->timestamp();
    break;
  }
  default:
    return false;
  }
  const int type = static_cast<int>(event->type());
  const bool again = SameActionSeenBelow(receiver, type, code, timestamp);
  m_seen = Seen{type, code, timestamp, receiver->parent(),
                receiver->isWindowType() ? static_cast<QWindow *>(receiver) : nullptr};
  return !again;
}

bool ActivityFilter::eventFilter(QObject *watched, QEvent *event) {
  const bool activity = IsActivity(watched, event);
  if (CGdipDialog *target = m_target.data(); activity && target != nullptr) {
    target->WindowProc(WM_USER_ACTIVITY, 0, 0); // before the event goes on
  }
  return false; // the event goes on as if nothing had looked at it
}

} // namespace corvesta
