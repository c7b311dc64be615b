#include "setup/volume_list_reading.h"

namespace corvesta {

VolumeListReading::~VolumeListReading() {
  Abandon();
}

Ticket VolumeListReading::Start(BoxRequests &requests, WindowHandle window,
                                std::int32_t deviceIndex) {
  Abandon();
  m_first = std::make_unique<VolumeInfo>();
  const Ticket ticket = requests.ReadVolumeList(window, deviceIndex, m_first.get());
  if (ticket == 0) {
    m_first.reset(); // nothing runs with it
  }
  return ticket;
}

std::vector<SessionVolume> VolumeListReading::Take() {
  std::vector<SessionVolume> volumes;
  for (const VolumeInfo *node = m_first.get(); node != nullptr && node->volume != 0;
       node = node->next.get()) {
    volumes.push_back(SessionVolume{node->volume, node->total, node->used});
  }
  m_first.reset();
  return volumes;
}

void VolumeListReading::Ended() {
  m_first.reset();
}

void VolumeListReading::Abandon() {
  // A worker that is still running writes into the list; letting go of it
  // costs a few bytes, freeing it could corrupt memory.
  static_cast<void>(m_first.release());
}

} // namespace corvesta
