#pragma once
// The credential check: a user name and password sent by datagram to one
// box, which answers with its verdict. Run before every HTTP login.

#include <cstdint>
#include <string_view>

#include "nas/udp/counted_waits.h"
#include "platform/window_message.h"
#include "worker/ticket.h"

namespace corvesta {

// The texts become the current user name and password (each cut to 16
// bytes of UTF-8). On acceptance the window gets WM_QUERY_RESULT (wParam 0).
// On refusal it gets WM_QUERY_RESULT (wParam 1) after the current
// credentials are emptied, "Username or password error." is shown and the
// box's remembered "UserName" and "PassWord" are emptied when they are
// exactly the refused pair. When no verdict comes the current credentials
// are emptied, nothing else changes and the run ends unanswered
// (WM_REQUEST_UNANSWERED): silence is not a refusal. 0 when the device
// index is not in the list, its adapter's sockets cannot be opened or no
// thread could be started.
Ticket StartCredentialCheck(WindowHandle window, std::u16string_view userName,
                            std::u16string_view password, std::int32_t deviceIndex);

// The check's waits for the verdict: kCredWaits waits of kCredWait, with a
// pause of kCredPause after each but the last. Accepted once a verdict came.
WaitEnd AwaitCredentialVerdict(CountedWaits &waits);

} // namespace corvesta
