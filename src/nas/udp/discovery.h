#pragma once
// Discovery: a probe to the group on every local adapter, one adapter after
// the other, and the replies that become the device list.

#include <vector>

#include "nas/udp/adapter_table.h"
#include "nas/nas_device.h"
#include "platform/window_message.h"
#include "worker/ticket.h"

namespace corvesta {

// Rebuilds the adapter table and the request tag, empties the device list,
// sets up the sockets and starts the worker. The window gets WM_QUERY_RESULT
// (wParam 0) once every adapter's waits are over; the device list then holds
// the boxes heard. 0 when the sockets could not be set up or no thread could
// be started.
Ticket StartDiscovery(WindowHandle window);

// Records a probe reply heard through adapter `adapterIndex`: a box not yet
// in the list (by `mac`) is appended with that adapter; a box already listed
// has answered on a further adapter and takes that adapter when the
// adapter's subnet is the box's own; nothing else of its record changes.
void RecordProbeReply(std::vector<NasDevice> &devices, const NasDevice &reply,
                      std::int32_t adapterIndex, const AdapterEntry &adapter);

} // namespace corvesta
