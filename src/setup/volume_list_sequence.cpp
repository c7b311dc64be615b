#include "setup/volume_list_sequence.h"

#include "nas/protocol_timing.h"
#include "setup/login_sequence.h"
#include "worker/private_messages.h"

namespace corvesta {

bool VolumeListSequence::Start(std::int32_t deviceIndex) {
  StopWaiting();
  m_reading.Abandon();
  m_volumes.reset();
  m_running = false;
  const Ticket ticket = m_reading.Start(Requests(), Host().Window(), deviceIndex);
  if (ticket == 0) {
    return false;
  }
  m_running = true;
  Await(ticket, Awaiting::QueryResult, timing::kWebRequestLimit);
  return true;
}

void VolumeListSequence::Abandon() {
  StopWaiting();
  m_reading.Abandon();
  m_volumes.reset();
  m_running = false;
}

std::u16string_view VolumeListSequence::Failure() const {
  return kVolumeInfoFailedText;
}

void VolumeListSequence::OnQueryResult(WPARAM result, std::unique_ptr<CQuery>) {
  m_running = false;
  if (result == kResultSuccess) {
    m_volumes = m_reading.Take();
  } else {
    m_reading.Abandon();
  }
}

void VolumeListSequence::OnUnanswered() {
  m_running = false;
  // Without an answer the worker may still hold the list.
  m_reading.Abandon();
}

} // namespace corvesta
