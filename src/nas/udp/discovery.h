#pragma once
// Discovery: a probe to the group on every local adapter, all adapters at
// once, and the replies that become the device list.

#include <functional>
#include <vector>

#include "nas/nas_device.h"
#include "nas/udp/adapter_table.h"
#include "platform/window_message.h"
#include "worker/ticket.h"

namespace corvesta {

// The box a discovery is run for, when one is: as soon as a reply satisfies
// `wanted`, every adapter gets one more wait (for the same box's replies
// through the other adapters) and the discovery ends. Without it every
// adapter's waits run their full course.
struct DiscoveryTarget {
  std::function<bool(const NasDevice &)> wanted; // called on the worker thread
};

// Rebuilds the adapter table and the request tag, empties the device list,
// sets up the sockets and starts the worker. Every adapter is probed at
// once and read for its own 32 waits; the replies heard through each
// adapter are recorded afterwards, adapter by adapter in table order, so
// the list is the one that probing the adapters one after the other would
// give. The window gets WM_QUERY_RESULT (wParam 0) once every adapter's
// waits are over (or once the target's grace has passed); the device list
// then holds the boxes heard. 0 when the sockets could not be set up or no
// thread could be started.
Ticket StartDiscovery(WindowHandle window, DiscoveryTarget target = {});

// Records a probe reply heard through adapter `adapterIndex`: a box not yet
// in the list (by `mac`) is appended with that adapter; a box already listed
// has answered on a further adapter and takes that adapter when the
// adapter's subnet is the box's own; nothing else of its record changes.
// A reply with a listed hardware address from another IPv4 address marks
// the listed box ambiguous (its `other_ip` the reply's address) and changes
// nothing else of it; the reply itself is kept in `claimants` (when given),
// once per address, so that the person may pick it by its address.
void RecordProbeReply(std::vector<NasDevice> &devices, const NasDevice &reply,
                      std::int32_t adapterIndex, const AdapterEntry &adapter,
                      std::vector<NasDevice> *claimants = nullptr);

} // namespace corvesta
