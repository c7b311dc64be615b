#include "nas/udp/adapter_table.h"

#include <mutex>

#include "platform/text_codec.h"

namespace corvesta {

namespace {

std::mutex g_lock;
AdapterTable g_table;

} // namespace

AdapterTable BuildAdapterTable(const std::vector<NetworkAdapter> &adapters) {
  AdapterTable table;
  for (const NetworkAdapter &adapter : adapters) {
    if (table.count == kMaxAdapters) {
      break;
    }
    AdapterEntry &entry = table.adapters[table.count];
    if (!CopyToField(entry.address, sizeof entry.address, adapter.address) ||
        !CopyToField(entry.mask, sizeof entry.mask, adapter.mask)) {
      entry = AdapterEntry{};
      continue;
    }
    entry.interfaceIndex = adapter.interfaceIndex;
    ++table.count;
  }
  return table;
}

AdapterTable CurrentAdapterTable() {
  std::lock_guard guard(g_lock);
  return g_table;
}

void SetCurrentAdapterTable(const AdapterTable &table) {
  std::lock_guard guard(g_lock);
  g_table = table;
}

} // namespace corvesta
