#pragma once
// The process-wide list of found boxes, in the order in which they were
// first heard. A position in this list is the device index used by every
// request and window. Each discovery start empties the list; its worker
// fills it as replies arrive. Readers get copies, so a record never changes
// or vanishes under them.

#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <string_view>
#include <vector>

#include "nas/nas_device.h"
#include "worker/singleton.h"

namespace corvesta {

class DeviceList : public Singleton<DeviceList> {
public:
  std::size_t Count() const;
  // The record at `index`; nothing for a position outside the list.
  std::optional<NasDevice> At(std::int64_t index) const;
  std::vector<NasDevice> Snapshot() const;

  // Empties the list and starts a new generation, which is returned: only
  // the discovery that holds the latest generation may change the list, so a
  // discovery that was superseded by a newer one leaves it alone.
  std::uint64_t Clear();
  // The generation of the list as it stands; a request records it to write
  // back into the record it was built from only while the list is unchanged.
  std::uint64_t Generation() const;

  // Runs `change` on the records while `generation` is the latest. False,
  // with nothing changed, when a newer Clear has happened since.
  bool Update(std::uint64_t generation,
              const std::function<void(std::vector<NasDevice> &)> &change);
  // The same, with the claimants beside the records: replies that carry a
  // listed box's hardware address from another IPv4 address (the listed box
  // is marked ambiguous). They are not listed; they wait for the person to
  // name one of them by its address.
  bool
  Update(std::uint64_t generation,
         const std::function<void(std::vector<NasDevice> &, std::vector<NasDevice> &)> &change);

  // The person named an ambiguous box by the address `ip` of one of its
  // claimants: that claimant takes the listed record's place (still marked
  // ambiguous), the record it replaces becomes a claimant. False when no
  // claimant has that address.
  bool PreferClaimant(std::string_view ip);

private:
  friend class Singleton<DeviceList>;
  DeviceList() = default;

  mutable std::mutex m_lock;
  std::vector<NasDevice> m_devices;
  std::vector<NasDevice> m_claimants;
  std::uint64_t m_generation = 0;
};

} // namespace corvesta
