#pragma once
// The Qt side of window handles: a QObject that registers a handle and turns
// every message posted to it, from any thread, into an event delivered on the
// thread that made it (the UI thread for windows). Sent messages are handled
// at once on that thread. A window holds one as a member and receives the
// messages through the handler it gives.

#include <QEvent>
#include <QObject>
#include <functional>

#include "platform/window_message.h"

class QWidget;

namespace corvesta {

class QtMessageTarget : public QObject, public MessageTarget {
  Q_OBJECT
public:
  using Handler = std::function<LRESULT(UINT message, WPARAM wParam, LPARAM lParam)>;

  // `window` is the widget the handle stands for (message box owners are
  // found through it); it may be null. The handle is registered at once.
  QtMessageTarget(QWidget *window, Handler handler, QObject *parent = nullptr);
  ~QtMessageTarget() override;

  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  QWidget *Window() const { return m_window; }

  // The widget registered under the handle, or null. UI thread only.
  static QWidget *WidgetFromHandle(WindowHandle handle);

  // The event type that carries a posted message.
  static QEvent::Type PostedMessageEventType();

protected:
  void QueuePosted(const Message &message) override;
  bool event(QEvent *event) override;

private:
  QWidget *m_window;
  Handler m_handler;
};

} // namespace corvesta
