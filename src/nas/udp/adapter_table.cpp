#include "nas/udp/adapter_table.h"

#include <algorithm>

#include "platform/text_codec.h"
#include "worker/guarded_value.h"

namespace corvesta {

namespace {

GuardedValue<AdapterTable> g_table;

} // namespace

AdapterSelection SelectAdapters(const std::vector<NetworkAdapter> &adapters) {
  AdapterSelection choice;
  std::vector<NetworkAdapter> usable;
  for (const NetworkAdapter &adapter : adapters) {
    AdapterEntry entry;
    if (CopyToField(entry.address, sizeof entry.address, adapter.address) &&
        CopyToField(entry.mask, sizeof entry.mask, adapter.mask)) {
      usable.push_back(adapter);
    }
  }
  if (usable.size() > kMaxAdapters) {
    std::stable_sort(usable.begin(), usable.end(),
                     [](const NetworkAdapter &a, const NetworkAdapter &b) {
                       return AdapterKindRank(a.kind) < AdapterKindRank(b.kind);
                     });
  }
  for (const NetworkAdapter &adapter : usable) {
    if (choice.table.count == kMaxAdapters) {
      choice.leftOut.push_back(adapter);
      continue;
    }
    AdapterEntry &entry = choice.table.adapters[choice.table.count++];
    CopyToField(entry.address, sizeof entry.address, adapter.address);
    CopyToField(entry.mask, sizeof entry.mask, adapter.mask);
    entry.interfaceIndex = adapter.interfaceIndex;
    choice.probed.push_back(adapter);
  }
  // Those left out in the system's order.
  std::vector<NetworkAdapter> ordered;
  for (const NetworkAdapter &adapter : adapters) {
    for (const NetworkAdapter &left : choice.leftOut) {
      if (left.interfaceIndex == adapter.interfaceIndex && left.name == adapter.name) {
        ordered.push_back(left);
        break;
      }
    }
  }
  choice.leftOut = std::move(ordered);
  return choice;
}

AdapterTable BuildAdapterTable(const std::vector<NetworkAdapter> &adapters) {
  return SelectAdapters(adapters).table;
}

AdapterTable CurrentAdapterTable() {
  return g_table.Get();
}

void SetCurrentAdapterTable(const AdapterTable &table) {
  g_table.Set(table);
}

} // namespace corvesta
