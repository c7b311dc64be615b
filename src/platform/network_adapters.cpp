#include "platform/network_adapters.h"

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>

#include <algorithm>
#include <cstring>

namespace corvesta {

namespace {

std::string AddressText(const sockaddr *address) {
  char text[INET_ADDRSTRLEN] = {};
  in_addr value{};
  std::memcpy(&value, &reinterpret_cast<const sockaddr_in *>(address)->sin_addr, sizeof value);
  if (inet_ntop(AF_INET, &value, text, sizeof text) == nullptr) {
    return {};
  }
  return text;
}

} // namespace

std::vector<NetworkAdapter> ListNetworkAdapters() {
  std::vector<NetworkAdapter> adapters;
  ifaddrs *list = nullptr;
  if (getifaddrs(&list) != 0) {
    return adapters;
  }
  for (const ifaddrs *entry = list; entry != nullptr; entry = entry->ifa_next) {
    if (entry->ifa_addr == nullptr || entry->ifa_addr->sa_family != AF_INET ||
        entry->ifa_netmask == nullptr || entry->ifa_name == nullptr) {
      continue;
    }
    if ((entry->ifa_flags & IFF_UP) == 0 || (entry->ifa_flags & IFF_MULTICAST) == 0) {
      continue;
    }
    unsigned index = if_nametoindex(entry->ifa_name);
    if (index == 0) {
      continue;
    }
    // Only the first IPv4 address of each interface.
    bool seen = std::any_of(adapters.begin(), adapters.end(),
                            [&](const NetworkAdapter &a) { return a.interfaceIndex == index; });
    if (seen) {
      continue;
    }
    NetworkAdapter adapter;
    adapter.name = entry->ifa_name;
    adapter.interfaceIndex = index;
    adapter.address = AddressText(entry->ifa_addr);
    adapter.mask = AddressText(entry->ifa_netmask);
    adapter.kind = ClassifyAdapter(adapter.name, ReadAdapterFacts(adapter.name));
    if (!adapter.address.empty() && !adapter.mask.empty()) {
      adapters.push_back(std::move(adapter));
    }
  }
  freeifaddrs(list);
  return adapters;
}

} // namespace corvesta
