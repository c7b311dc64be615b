#pragma once
// A posted message whose window went before it could handle it. Most
// messages carry plain numbers; WM_DISK_INFO carries a heap record that its
// receiver frees. A queue that drops such a message frees the record here.

#include "platform/window_message.h"

namespace corvesta {

// Frees what `message` owns, if anything. Call once, and only for a message
// that was never handed to a WindowProc.
void ReleaseUndeliveredMessage(const Message &message);

} // namespace corvesta
