#include "setup/volume_list_reading.h"

#include <mutex>

#include "nas/query.h"

namespace corvesta {

namespace {

// Lists whose request was not waited for to its end: a worker may still
// write into them, so they are kept (and stay reachable) until no query is
// alive any more. A parser writes into its list before its query is handed
// over or deleted, so with no query alive no list is in use.
std::mutex g_parkedLock;
std::vector<std::unique_ptr<VolumeInfo>> g_parked;

void ReleaseParkedWhenIdle() {
  std::lock_guard guard(g_parkedLock);
  if (CQuery::LiveCount() == 0) {
    g_parked.clear();
  }
}

} // namespace

VolumeListReading::~VolumeListReading() {
  Abandon();
}

Ticket VolumeListReading::Start(BoxRequests &requests, WindowHandle window,
                                std::int32_t deviceIndex) {
  Abandon();
  ReleaseParkedWhenIdle();
  m_first = std::make_unique<VolumeInfo>();
  const Ticket ticket = requests.ReadVolumeList(window, deviceIndex, m_first.get());
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

void VolumeListReading::Ended() {
  m_first.reset();
}

void VolumeListReading::Abandon() {
  if (m_first) {
    std::lock_guard guard(g_parkedLock);
    g_parked.push_back(std::move(m_first));
  }
}

} // namespace corvesta
