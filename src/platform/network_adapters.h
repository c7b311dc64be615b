#pragma once
// The local network adapters that can reach boxes: IPv4 interfaces that are
// up and multicast-capable, in the order the system lists them, each with
// its first IPv4 address and what kind of link it is. A plain loopback has
// no multicast flag and is left out.

#include <string>
#include <vector>

#include "platform/adapter_kind.h"

namespace corvesta {

struct NetworkAdapter {
  std::string name;            // interface name, e.g. "eth0"
  unsigned interfaceIndex = 0; // the system's index of the interface
  std::string address;         // dotted quad
  std::string mask;            // dotted quad
  AdapterKind kind = AdapterKind::Physical;
};

// Empty when the system cannot list its interfaces.
std::vector<NetworkAdapter> ListNetworkAdapters();

} // namespace corvesta
