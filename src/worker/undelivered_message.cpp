#include "worker/undelivered_message.h"

#include "nas/replies/hd_info.h"
#include "worker/private_messages.h"

namespace corvesta {

void ReleaseUndeliveredMessage(const Message &message) {
  if (message.message == WM_DISK_INFO) {
    TakeHdInfo(message.wParam); // freed here
  }
}

} // namespace corvesta
