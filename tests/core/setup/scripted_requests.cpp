#include "scripted_requests.h"

#include "nas/device_list.h"
#include "nas/udp/adapter_table.h"
#include "platform/text_codec.h"
#include "nas/take_query.h"
#include "worker/message_store.h"
#include "worker/private_messages.h"

namespace corvesta::test {

Ticket ScriptedRequests::Issue(const std::string &name, std::int32_t deviceIndex) {
  calls.push_back(name);
  lastIndex = deviceIndex;
  if (refused.count(name) != 0) {
    return 0;
  }
  last = NextTicket();
  return last;
}

Ticket ScriptedRequests::Discovery(WindowHandle) {
  return Issue("discovery", -1);
}

Ticket ScriptedRequests::CredentialCheck(WindowHandle, std::u16string_view userName,
                                         std::u16string_view, std::int32_t deviceIndex) {
  lastUser = userName;
  return Issue("credentials", deviceIndex);
}

Ticket ScriptedRequests::AddressChange(WindowHandle, std::int32_t deviceIndex,
                                       const IpSettingBlock &block) {
  lastBlock = block;
  return Issue("address", deviceIndex);
}

Ticket ScriptedRequests::LogIn(WindowHandle, std::int32_t deviceIndex) {
  return Issue("login", deviceIndex);
}

Ticket ScriptedRequests::LogOut(WindowHandle, std::int32_t deviceIndex) {
  return Issue("logout", deviceIndex);
}

Ticket ScriptedRequests::ReadUserAccess(WindowHandle, std::int32_t deviceIndex) {
  return Issue("access", deviceIndex);
}

Ticket ScriptedRequests::ReadVolumeList(WindowHandle, std::int32_t deviceIndex,
                                        std::shared_ptr<VolumeInfo> first) {
  volumeList = std::move(first);
  return Issue("volumes", deviceIndex);
}

void PostQueryResult(WindowHandle window, Ticket ticket, WPARAM result,
                     const std::function<void(CQuery &)> &fill) {
  auto query = std::make_unique<CQuery>(window);
  query->ticket = ticket;
  if (fill) {
    fill(*query);
  }
  const MessageId id = CMsg::Instance().Put(std::move(query), 0);
  PostMessage(window, WM_QUERY_RESULT, result, MessageIdToLParam(id));
}

void PostUnanswered(WindowHandle window, Ticket ticket) {
  PostMessage(window, WM_REQUEST_UNANSWERED, static_cast<WPARAM>(ticket), 0);
}

std::vector<Message> Deliver(MessageQueueTarget &window, Sequence &sequence) {
  std::vector<Message> left;
  for (const Message &message : window.TakeAll()) {
    if (sequence.OnMessage(message)) {
      continue;
    }
    left.push_back(message);
    TakeQuery(message); // a result nobody waits for is deleted
  }
  return left;
}

NasDevice MakeDevice(const std::string &name, const std::string &ip, const std::string &mask,
                     const std::string &mac, const std::string &dhcp) {
  NasDevice device;
  CopyToField(device.name, sizeof device.name, name);
  CopyToField(device.ip, sizeof device.ip, ip);
  CopyToField(device.netmask, sizeof device.netmask, mask);
  CopyToField(device.mac, sizeof device.mac, mac);
  CopyToField(device.dhcp, sizeof device.dhcp, dhcp);
  device.adapter = 0;
  return device;
}

void PlaceDevices(const std::vector<NasDevice> &devices, const std::string &adapterAddress,
                  const std::string &adapterMask) {
  DeviceList &list = DeviceList::Instance();
  list.Update(list.Clear(), [&](std::vector<NasDevice> &records) { records = devices; });
  AdapterTable table;
  CopyToField(table.adapters[0].address, sizeof table.adapters[0].address, adapterAddress);
  CopyToField(table.adapters[0].mask, sizeof table.adapters[0].mask, adapterMask);
  table.count = 1;
  SetCurrentAdapterTable(table);
}

} // namespace corvesta::test
