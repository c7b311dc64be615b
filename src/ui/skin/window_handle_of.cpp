#include "ui/skin/window_handle_of.h"

#include <QWidget>

#include "ui/platform/qt_message_target.h"

namespace corvesta {

WindowHandle WindowHandleOf(const QWidget *widget) {
  if (widget == nullptr) {
    return 0;
  }
  const QList<QtMessageTarget *> targets =
      widget->findChildren<QtMessageTarget *>(QString(), Qt::FindDirectChildrenOnly);
  for (const QtMessageTarget *target : targets) {
    if (target->Window() == widget) {
      return target->Handle();
    }
  }
  return 0;
}

WindowHandle ParentHandleOf(const QWidget *control) {
  for (const QWidget *w = control != nullptr ? control->parentWidget() : nullptr; w != nullptr;
       w = w->parentWidget()) {
    if (const WindowHandle handle = WindowHandleOf(w)) {
      return handle;
    }
  }
  return 0;
}

} // namespace corvesta
