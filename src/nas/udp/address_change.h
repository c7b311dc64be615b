#pragma once
// The address change: new address settings sent by datagram to one box,
// which acknowledges them. Reaches a box also outside this PC's subnet.

#include <cstdint>

#include "nas/udp/ip_setting_block.h"
#include "platform/window_message.h"
#include "worker/ticket.h"

namespace corvesta {

// The window gets WM_SETIP_RESULT with wParam 0 when the box acknowledged
// and 1 when no acknowledgement came within the waits, lParam 4. The block
// is copied into the datagram at once; it need not outlive the call. 0 when
// the device index is not in the list, its adapter's sockets cannot be
// opened or no thread could be started.
Ticket StartAddressChange(WindowHandle window, std::int32_t deviceIndex,
                          const IpSettingBlock &block);

} // namespace corvesta
