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

using Clock = std::chrono::steady_clock;

// A discovery's query: the common fields and the box it may stop for.
class DiscoveryQuery : public CQuery {
public:
  using CQuery::CQuery;
  DiscoveryTarget target;
};

CQuery::Disposition RunDiscovery(CQuery &base) {
  auto &query = static_cast<DiscoveryQuery &>(base);
  const std::uint32_t count = query.adapters.count;
  const auto waits = timing::kDiscoveryWaits * timing::Scaled(timing::kDiscoveryWait);

  // Every adapter's probe goes out first; each adapter's waits then run
  // from its own probe, side by side with the others'.
  std::vector<ChannelWindow> windows;
  for (std::uint32_t i = 0; i < count; ++i) {
    UdpChannel &channel = query.channels[i];
    channel.Send(query.request); // a failed send is not reported: the waits run their course
    windows.push_back(ChannelWindow{&channel, Clock::now() + waits});
  }

  // Replies are kept per adapter in the order heard and recorded once all
  // waits are over, adapter by adapter: the order in which a serial run
  // would have read them.
  std::vector<std::vector<NasDevice>> heard(count);
  bool targetHeard = false;
  ReceiveUntil(query, windows, timing::Scaled(timing::kDiscoveryWait),
               [&](std::size_t i, udp::Bytes datagram) {
                 auto reply = udp::ParseProbeReply(datagram, query.tag);
                 if (!reply) {
                   return;
                 }
                 heard[i].push_back(*reply);
                 if (!targetHeard && query.target.wanted && query.target.wanted(*reply)) {
                   targetHeard = true;
                   const Clock::time_point end =
                       Clock::now() + timing::Scaled(timing::kDiscoveryTargetGrace);
                   for (ChannelWindow &window : windows) {
                     window.end = std::min(window.end, end);
                   }
                 }
               });

  DeviceList::Instance().Update(query.discoveryGeneration, [&](std::vector<NasDevice> &list,
                                                               std::vector<NasDevice> &claimants) {
    for (std::uint32_t i = 0; i < count; ++i) {
      for (const NasDevice &reply : heard[i]) {
        RecordProbeReply(list, reply, static_cast<std::int32_t>(i), query.adapters.adapters[i],
                         &claimants);
      }
    }
  });
  return query.HandOver(kResultSuccess);
}

} // namespace

void RecordProbeReply(std::vector<NasDevice> &devices, const NasDevice &reply,
                      std::int32_t adapterIndex, const AdapterEntry &adapter,
                      std::vector<NasDevice> *claimants) {
  const std::string_view mac = FieldText(reply.mac, sizeof reply.mac);
  const std::string_view ip = FieldText(reply.ip, sizeof reply.ip);
  auto known = std::find_if(devices.begin(), devices.end(), [&](const NasDevice &device) {
    return FieldText(device.mac, sizeof device.mac) == mac;
  });
  if (known == devices.end()) {
    NasDevice added = reply;
    added.adapter = adapterIndex;
    devices.push_back(added);
    return;
  }
  if (FieldText(known->ip, sizeof known->ip) != ip) {
    // Another address claims this hardware address: which one is the box
    // cannot be told from here.
    known->ambiguous = 1;
    CopyToField(known->other_ip, sizeof known->other_ip, ip);
    if (claimants == nullptr) {
      return;
    }
    auto claimant = std::find_if(claimants->begin(), claimants->end(), [&](const NasDevice &c) {
      return FieldText(c.mac, sizeof c.mac) == mac && FieldText(c.ip, sizeof c.ip) == ip;
    });
    if (claimant == claimants->end()) {
      NasDevice added = reply;
      added.adapter = adapterIndex;
      added.ambiguous = 1;
      CopyToField(added.other_ip, sizeof added.other_ip, FieldText(known->ip, sizeof known->ip));
      claimants->push_back(added);
    } else if (InSameSubnet(FieldText(adapter.address, sizeof adapter.address),
                            FieldText(adapter.mask, sizeof adapter.mask), ip,
                            FieldText(reply.netmask, sizeof reply.netmask))) {
      claimant->adapter = adapterIndex;
    }
    return;
  }
  if (InSameSubnet(FieldText(adapter.address, sizeof adapter.address),
                   FieldText(adapter.mask, sizeof adapter.mask),
                   FieldText(reply.ip, sizeof reply.ip),
                   FieldText(reply.netmask, sizeof reply.netmask))) {
    known->adapter = adapterIndex;
  }
}

Ticket StartDiscovery(WindowHandle window, DiscoveryTarget target) {
  auto query = std::make_unique<DiscoveryQuery>(window);
  query->kind = QueryKind::Discovery;
  query->target = std::move(target);
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
