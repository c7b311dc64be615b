#pragma once
// The local adapters as the latest discovery found them: at most eight, in
// the system's order, each with the text of its first IPv4 address and mask.
// Adapter indexes of the device list refer to this table.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/network_adapters.h"

namespace corvesta {

inline constexpr std::size_t kMaxAdapters = 8;

struct AdapterEntry {
  char address[16] = {};
  char mask[16] = {};
  unsigned interfaceIndex = 0; // joins the group on this interface
};

struct AdapterTable {
  AdapterEntry adapters[kMaxAdapters] = {};
  std::uint32_t count = 0;
};

// The first kMaxAdapters adapters of the list; an adapter whose texts do not
// fit their fields is left out.
AdapterTable BuildAdapterTable(const std::vector<NetworkAdapter> &adapters);

// The process-wide table: rebuilt by every discovery start, read by the
// credential check and the address change, the subnet test and the windows.
AdapterTable CurrentAdapterTable();
void SetCurrentAdapterTable(const AdapterTable &table);

} // namespace corvesta
