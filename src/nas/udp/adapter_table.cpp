#include "nas/udp/adapter_table.h"

#include "platform/text_codec.h"
#include "worker/guarded_value.h"

namespace corvesta {

namespace {

GuardedValue<AdapterTable> g_table;

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
  return g_table.Get();
}

void SetCurrentAdapterTable(const AdapterTable &table) {
  g_table.Set(table);
}

} // namespace corvesta
