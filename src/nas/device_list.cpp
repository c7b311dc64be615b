#include "nas/device_list.h"

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

} // namespace corvesta
