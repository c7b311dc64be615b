#include "setup/volume_list_reading.h"

namespace corvesta {

Ticket VolumeListReading::Start(BoxRequests &requests, WindowHandle window,
                                std::int32_t deviceIndex) {
  m_first = std::make_shared<VolumeInfo>();
  const Ticket ticket = requests.ReadVolumeList(window, deviceIndex, m_first);
  if (ticket == 0) {
    m_first.reset(); // nothing runs with it
  }
  return ticket;
}

std::vector<VolumeUsage> VolumeListReading::Take() {
  std::vector<VolumeUsage> volumes;
  if (m_first) {
    volumes = VolumeUsages(*m_first);
  }
  m_first.reset();
  return volumes;
}

void VolumeListReading::Abandon() {
  m_first.reset();
}

} // namespace corvesta
