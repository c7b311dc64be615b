#include "setup/address_change_sequence.h"

#include <cstring>

#include "nas/device_list.h"
#include "nas/protocol_timing.h"
#include "platform/text_codec.h"
#include "worker/private_messages.h"

namespace corvesta {

bool AddressChangeSequence::Start(std::int32_t deviceIndex, const IpSettingBlock &block,
                                  AfterAcknowledgement after) {
  StopWaiting();
  m_outcome = {};
  m_after = after;
  const std::optional<NasDevice> device = DeviceList::Instance().At(deviceIndex);
  if (!device) {
    Finish(AddressChangeResult::NotStarted, kRefreshFailedText);
    return false;
  }
  std::memcpy(m_mac, device->mac, sizeof m_mac);
  const Ticket ticket = Requests().AddressChange(Host().Window(), deviceIndex, block);
  if (ticket == 0) {
    Finish(AddressChangeResult::NotStarted, kRefreshFailedText);
    return false;
  }
  m_step = Step::Sending;
  Await(ticket, Awaiting::SetIpResult, timing::kAddressChangeLimit);
  return true;
}

void AddressChangeSequence::OnSetIpResult(WPARAM result) {
  if (result != kResultSuccess) {
    Finish(AddressChangeResult::NotAcknowledged, kSetAddressFailedText);
    return;
  }
  m_observer.OnAcknowledged();
  if (m_after == AfterAcknowledgement::End) {
    Finish(AddressChangeResult::Acknowledged);
    return;
  }
  SearchAgain();
}

void AddressChangeSequence::SearchAgain() {
  const Ticket ticket = Requests().Discovery(Host().Window());
  if (ticket == 0) {
    Finish(AddressChangeResult::SearchFailed, kRefreshFailedText);
    return;
  }
  m_step = Step::Searching;
  Await(ticket, Awaiting::QueryResult, timing::kDiscoveryLimit);
}

void AddressChangeSequence::OnQueryResult(WPARAM, std::unique_ptr<CQuery>) {
  // The discovery's worker filled the list and the table before it posted.
  const std::vector<NasDevice> devices = DeviceList::Instance().Snapshot();
  const std::string_view mac = FieldText(m_mac, sizeof m_mac);
  for (std::size_t i = 0; i < devices.size(); ++i) {
    if (FieldText(devices[i].mac, sizeof devices[i].mac) == mac) {
      m_outcome.deviceIndex = static_cast<std::int32_t>(i);
      m_outcome.device = devices[i];
      m_outcome.adapters = CurrentAdapterTable();
      Finish(AddressChangeResult::Found);
      return;
    }
  }
  Finish(AddressChangeResult::NotFoundYet);
}

void AddressChangeSequence::OnUnanswered() {
  if (m_step == Step::Sending) {
    Finish(AddressChangeResult::NotAcknowledged, kSetAddressFailedText);
  } else if (m_step == Step::Searching) {
    Finish(AddressChangeResult::SearchFailed, kRefreshFailedText);
  }
}

void AddressChangeSequence::Finish(AddressChangeResult result, std::u16string_view message) {
  m_step = Step::Idle;
  m_outcome.result = result;
  m_outcome.message = message;
  m_observer.OnAddressChangeFinished(m_outcome);
}

} // namespace corvesta
