#pragma once
// The local adapters as the latest discovery found them: at most eight, each
// with the text of its first IPv4 address and mask. Adapter indexes of the
// device list refer to this table.
//
// Up to eight adapters keep the system's order. With more, physical and
// wireless adapters take the places first, then other bridges, then tunnels
// and container or virtual-machine links, each group in the system's order:
// a PC whose container bridges come first still probes its LAN.

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

// The table and the adapters behind it: those probed, in table order, and
// those that found no place, in the system's order. An adapter whose texts
// do not fit their fields is in neither.
struct AdapterSelection {
  AdapterTable table;
  std::vector<NetworkAdapter> probed;
  std::vector<NetworkAdapter> leftOut;
};

AdapterSelection SelectAdapters(const std::vector<NetworkAdapter> &adapters);

// SelectAdapters' table.
AdapterTable BuildAdapterTable(const std::vector<NetworkAdapter> &adapters);

// The process-wide table: rebuilt by every discovery start, read by the
// credential check and the address change, the subnet test and the windows.
AdapterTable CurrentAdapterTable();
void SetCurrentAdapterTable(const AdapterTable &table);

} // namespace corvesta
