#include "ui/platform/qt_message_target.h"

#include <QCoreApplication>
#include <QWidget>
#include <unordered_map>

#include "worker/undelivered_message.h"

namespace corvesta {
namespace {

// A posted message on its way. Dropped undelivered (its window went first,
// and QObject's destructor deletes the events queued for it), it frees what
// the message owns.
class PostedMessageEvent : public QEvent {
public:
  explicit PostedMessageEvent(const Message &message)
      : QEvent(QtMessageTarget::PostedMessageEventType()), m_message(message) {}
  ~PostedMessageEvent() override {
    if (!m_delivered) {
      ReleaseUndeliveredMessage(m_message);
    }
  }
  PostedMessageEvent(const PostedMessageEvent &) = delete;
  PostedMessageEvent &operator=(const PostedMessageEvent &) = delete;

  // The message, now the receiver's.
  const Message &Deliver() {
    m_delivered = true;
    return m_message;
  }

private:
  Message m_message;
  bool m_delivered = false;
};

// Handle to widget, touched on the UI thread only (registration, lookup for
// message box owners).
std::unordered_map<WindowHandle, QWidget *> &Widgets() {
  static std::unordered_map<WindowHandle, QWidget *> widgets;
  return widgets;
}

} // namespace

QtMessageTarget::QtMessageTarget(QWidget *window, Handler handler, QObject *parent)
    : QObject(parent), m_window(window), m_handler(std::move(handler)) {
  WindowHandle handle = RegisterWindow();
  if (m_window != nullptr) {
    Widgets()[handle] = m_window;
  }
}

QtMessageTarget::~QtMessageTarget() {
  WindowHandle handle = Handle();
  // From here on no post reaches this object; QObject's destructor drops the
  // events already queued for it.
  UnregisterWindow();
  Widgets().erase(handle);
}

LRESULT QtMessageTarget::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  return m_handler ? m_handler(message, wParam, lParam) : 0;
}

QWidget *QtMessageTarget::WidgetFromHandle(WindowHandle handle) {
  auto it = Widgets().find(handle);
  return it == Widgets().end() ? nullptr : it->second;
}

QEvent::Type QtMessageTarget::PostedMessageEventType() {
  static const QEvent::Type type = static_cast<QEvent::Type>(QEvent::registerEventType());
  return type;
}

void QtMessageTarget::QueuePosted(const Message &message) {
  // postEvent only queues and wakes the receiver's thread: it never blocks
  // on this object and never calls back into the registry.
  QCoreApplication::postEvent(this, new PostedMessageEvent(message));
}

bool QtMessageTarget::event(QEvent *event) {
  if (event->type() == PostedMessageEventType()) {
    const Message &message = static_cast<PostedMessageEvent *>(event)->Deliver();
    WindowProc(message.message, message.wParam, message.lParam);
    return true;
  }
  return QObject::event(event);
}

} // namespace corvesta
