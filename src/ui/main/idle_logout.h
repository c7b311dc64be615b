#pragma once
// The idle logout's parts outside the main window: the idle time the
// settings dialog chooses, the timer period that follows from it, and the
// activity filter that stands for the keyboard and mouse hooks.

#include <QObject>
#include <QPointer>
#include <chrono>
#include <cstdint>

class QEvent;
class QWindow;

namespace corvesta {

class CGdipDialog;

// The idle times the settings dialog offers, in milliseconds; 0 is never.
inline constexpr std::uint32_t kIdleNever = 0;
inline constexpr std::uint32_t kIdleFiveMinutes = 300000;
inline constexpr std::uint32_t kIdleFifteenMinutes = 900000;
inline constexpr std::uint32_t kIdleThirtyMinutes = 1800000;
inline constexpr std::uint32_t kIdleSixtyMinutes = 3600000;

// The process-wide idle time; 60 minutes until the settings are read. UI
// thread only.
std::uint32_t IdleTime();
void SetIdleTime(std::uint32_t milliseconds);

// The period of the idle timer for an idle time (not 0).
std::chrono::milliseconds IdlePeriod(std::uint32_t idleTime);

// For tests only: every later IdlePeriod is multiplied by `factor` (> 0).
class ScopedIdleTimeScale {
public:
  explicit ScopedIdleTimeScale(double factor);
  ~ScopedIdleTimeScale();
  ScopedIdleTimeScale(const ScopedIdleTimeScale &) = delete;
  ScopedIdleTimeScale &operator=(const ScopedIdleTimeScale &) = delete;

private:
  double m_previous;
};

// Installed on the application, it sends WM_USER_ACTIVITY to its target
// window before the event is handled, once per action of the person: a key
// released or repeating whose virtual-key code counts (IsActivityKey), a
// left button released anywhere, a left press that starts moving a
// frameless skinned window. Motion, other buttons, the wheel and presses
// are not activity.
class ActivityFilter : public QObject {
  Q_OBJECT
public:
  // `target` gets the activity, sent straight to its WindowProc; the filter
  // sends nothing once it is gone.
  explicit ActivityFilter(CGdipDialog *target, QObject *parent = nullptr);
  ~ActivityFilter() override;

  // Installs the filter on the application (removing it first when it is
  // installed), or removes it.
  void Install();
  void Remove();
  bool Installed() const { return m_installed; }

  // Whether the event, seen at `receiver`, is an action of the person that
  // counts as activity (and not the same action seen again on its way up).
  bool IsActivity(QObject *receiver, QEvent *event);

protected:
  bool eventFilter(QObject *watched, QEvent *event) override;

private:
  // The last action seen, to recognise it on its way up: where it goes next
  // (the receiver's parent, or any widget of the window system's window it
  // reached first). Only compared, never followed: either may be gone.
  struct Seen {
    int type = 0;
    int code = 0;
    quint64 timestamp = 0;
    const QObject *next = nullptr;
    const QWindow *window = nullptr;
  };
  bool SameActionSeenBelow(QObject *receiver, int type, int code, quint64 timestamp) const;

  QPointer<CGdipDialog> m_target;
  bool m_installed = false;
  Seen m_seen;
};

} // namespace corvesta
