#pragma once
// The formatting state of a box, the wParam of WM_FORMAT_PROGRESS.

#include "platform/window_message.h"

namespace corvesta {

enum class FormatState : WPARAM {
  Error = 0,
  Running = 1,
  Finished = 2,
};

} // namespace corvesta
