#include "nas/device_list.h"

#include <algorithm>

#include "platform/text_codec.h"

namespace corvesta {

std::size_t DeviceList::Count() const {
  std::lock_guard guard(m_lock);
  return m_devices.size();
}

std::optional<NasDevice> DeviceList::At(std::int64_t index) const {
  std::lock_guard guard(m_lock);
  if (index < 0 || static_cast<std::uint64_t>(index) >= m_devices.size()) {
    return std::nullopt;
  }
  return m_devices[static_cast<std::size_t>(index)];
}

std::vector<NasDevice> DeviceList::Snapshot() const {
  std::lock_guard guard(m_lock);
  return m_devices;
}

std::uint64_t DeviceList::Clear() {
  std::lock_guard guard(m_lock);
  m_devices.clear();
  m_claimants.clear();
  return ++m_generation;
}

std::uint64_t DeviceList::Generation() const {
  std::lock_guard guard(m_lock);
  return m_generation;
}

bool DeviceList::Update(std::uint64_t generation,
                        const std::function<void(std::vector<NasDevice> &)> &change) {
  std::lock_guard guard(m_lock);
  if (generation != m_generation) {
    return false;
  }
  change(m_devices);
  return true;
}

bool DeviceList::Update(
    std::uint64_t generation,
    const std::function<void(std::vector<NasDevice> &, std::vector<NasDevice> &)> &change) {
  std::lock_guard guard(m_lock);
  if (generation != m_generation) {
    return false;
  }
  change(m_devices, m_claimants);
  return true;
}

bool DeviceList::PreferClaimant(std::string_view ip) {
  std::lock_guard guard(m_lock);
  auto claimant = std::find_if(m_claimants.begin(), m_claimants.end(), [&](const NasDevice &c) {
    return FieldText(c.ip, sizeof c.ip) == ip;
  });
  if (claimant == m_claimants.end()) {
    return false;
  }
  const std::string_view mac = FieldText(claimant->mac, sizeof claimant->mac);
  auto listed = std::find_if(m_devices.begin(), m_devices.end(), [&](const NasDevice &d) {
    return FieldText(d.mac, sizeof d.mac) == mac;
  });
  if (listed == m_devices.end()) {
    return false;
  }
  NasDevice chosen = *claimant;
  NasDevice former = *listed;
  CopyToField(chosen.other_ip, sizeof chosen.other_ip, FieldText(former.ip, sizeof former.ip));
  chosen.ambiguous = 1;
  former.ambiguous = 1;
  *listed = chosen;
  *claimant = former;
  return true;
}

} // namespace corvesta
