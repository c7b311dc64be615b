#include "nas/udp/address_change.h"

#include <cstring>

#include "nas/device_list.h"
#include "nas/protocol_timing.h"
#include "nas/query.h"
#include "nas/udp/udp_datagrams.h"
#include "nas/udp/udp_query.h"
#include "worker/private_messages.h"

namespace corvesta {

namespace {

CQuery::Disposition RunAddressChange(CQuery &query) {
  UdpChannel &channel = query.channels[static_cast<std::size_t>(query.adapterIndex)];
  channel.Send(query.request); // a failed send is not reported: the waits run their course
  bool acknowledged = false;
  auto take = [&](udp::Bytes datagram) {
    switch (udp::ClassifySetAddressReply(datagram, query.tag)) {
    case udp::SetAddressReply::Acknowledged:
      acknowledged = true;
      return true;
    case udp::SetAddressReply::StaleTag:
      return true; // ends this wait without an answer
    case udp::SetAddressReply::Other:
      break;
    }
    return false;
  };
  for (int wait = 1; wait <= timing::kSetAddressWaits; ++wait) {
    WaitEnd end = WaitForDatagram(query, channel, timing::Scaled(timing::kSetAddressWait), take);
    if (acknowledged || end == WaitEnd::Stopped) {
      break;
    }
    if (wait < timing::kSetAddressWaits &&
        !query.PauseFor(timing::Scaled(timing::kSetAddressPause))) {
      break;
    }
  }
  query.channels.clear();
  query.Report(WM_SETIP_RESULT, acknowledged ? kResultSuccess : kResultFailure,
               static_cast<LPARAM>(QueryKind::AddressChange));
  return CQuery::Disposition::Finished;
}

} // namespace

Ticket StartAddressChange(WindowHandle window, std::int32_t deviceIndex,
                          const IpSettingBlock &block) {
  std::optional<NasDevice> device = DeviceList::Instance().At(deviceIndex);
  if (!device) {
    return 0;
  }
  const AdapterTable table = CurrentAdapterTable();
  if (device->adapter < 0 || static_cast<std::uint32_t>(device->adapter) >= table.count) {
    return 0;
  }
  auto query = std::make_unique<CQuery>(window);
  query->kind = QueryKind::AddressChange;
  query->deviceIndex = deviceIndex;
  query->adapterIndex = device->adapter;
  std::memcpy(query->targetIp, device->ip, sizeof query->targetIp);
  query->targetIp[sizeof query->targetIp - 1] = '\0';
  query->tag = CurrentRequestTag();
  query->adapters = table;
  if (!SetUpUdpSockets(*query, table, static_cast<std::uint32_t>(device->adapter))) {
    return 0;
  }
  query->request = udp::BuildSetAddress(query->tag, device->wire_id, block);
  return CQuery::Launch(std::move(query), &RunAddressChange);
}

} // namespace corvesta
