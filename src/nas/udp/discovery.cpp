#include "nas/udp/discovery.h"

#include <algorithm>
#include <string_view>

#include "nas/device_list.h"
#include "nas/protocol_timing.h"
#include "nas/query.h"
#include "nas/udp/subnet.h"
#include "nas/udp/udp_datagrams.h"
#include "nas/udp/udp_query.h"
#include "platform/network_adapters.h"
#include "platform/text_codec.h"
#include "worker/private_messages.h"

namespace corvesta {

namespace {

CQuery::Disposition RunDiscovery(CQuery &query) {
  DeviceList &devices = DeviceList::Instance();
  for (std::uint32_t i = 0; i < query.adapters.count && !query.StopRequested(); ++i) {
    UdpChannel &channel = query.channels[i];
    const AdapterEntry &adapter = query.adapters.adapters[i];
    channel.Send(query.request); // a failed send is not reported: the waits run their course
    auto take = [&](udp::Bytes datagram) {
      if (auto reply = udp::ParseProbeReply(datagram, query.tag)) {
        devices.Update(query.discoveryGeneration, [&](std::vector<NasDevice> &list) {
          RecordProbeReply(list, *reply, static_cast<std::int32_t>(i), adapter);
        });
      }
      return false; // every wait runs its full time: more boxes may answer
    };
    for (int wait = 0; wait < timing::kDiscoveryWaits; ++wait) {
      if (WaitForDatagram(query, channel, timing::Scaled(timing::kDiscoveryWait), take) ==
          WaitEnd::Stopped) {
        break;
      }
    }
  }
  return query.HandOver(kResultSuccess);
}

} // namespace

void RecordProbeReply(std::vector<NasDevice> &devices, const NasDevice &reply,
                      std::int32_t adapterIndex, const AdapterEntry &adapter) {
  const std::string_view mac = FieldText(reply.mac, sizeof reply.mac);
  auto known = std::find_if(devices.begin(), devices.end(), [&](const NasDevice &device) {
    return FieldText(device.mac, sizeof device.mac) == mac;
  });
  if (known == devices.end()) {
    NasDevice added = reply;
    added.adapter = adapterIndex;
    devices.push_back(added);
    return;
  }
  if (InSameSubnet(FieldText(adapter.address, sizeof adapter.address),
                   FieldText(adapter.mask, sizeof adapter.mask),
                   FieldText(reply.ip, sizeof reply.ip),
                   FieldText(reply.netmask, sizeof reply.netmask))) {
    known->adapter = adapterIndex;
  }
}

Ticket StartDiscovery(WindowHandle window) {
  auto query = std::make_unique<CQuery>(window);
  query->kind = QueryKind::Discovery;
  query->discoveryGeneration = DeviceList::Instance().Clear();

  const AdapterTable table = BuildAdapterTable(ListNetworkAdapters());
  const RequestTag tag = NewRequestTag();
  SetCurrentAdapterTable(table);
  SetCurrentRequestTag(tag);
  if (!SetUpUdpSockets(*query, table)) {
    return 0;
  }
  query->adapters = table;
  query->tag = tag;
  query->request = udp::BuildProbe(tag);
  return CQuery::Launch(std::move(query), &RunDiscovery);
}

} // namespace corvesta
