#pragma once
// Finding the window handle of a widget, so a control can post or send its
// notifications to the window that owns it.

#include "platform/window_message.h"

class QWidget;

namespace corvesta {

// The handle registered for this very widget (its QtMessageTarget), 0 when
// it has none.
WindowHandle WindowHandleOf(const QWidget *widget);

// The handle of the control's nearest ancestor that has one: the window its
// notifications go to. 0 when no ancestor has a handle.
WindowHandle ParentHandleOf(const QWidget *control);

} // namespace corvesta
