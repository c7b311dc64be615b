#pragma once
// What the sequence tests drive a sequence with: start operations that only
// record what was asked and hand out tickets, the result messages a worker
// would post, a box in the device list, and the delivery of queued messages
// to the sequence as a window's message loop would hand them over.

#include <cstdint>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "nas/nas_device.h"
#include "nas/query.h"
#include "platform/message_queue_target.h"
#include "setup/box_requests.h"
#include "setup/sequence.h"

namespace corvesta::test {

class ScriptedRequests : public BoxRequests {
public:
  Ticket Discovery(WindowHandle window) override;
  Ticket CredentialCheck(WindowHandle window, std::u16string_view userName,
                         std::u16string_view password, std::int32_t deviceIndex) override;
  Ticket AddressChange(WindowHandle window, std::int32_t deviceIndex,
                       const IpSettingBlock &block) override;
  Ticket LogIn(WindowHandle window, std::int32_t deviceIndex) override;
  Ticket LogOut(WindowHandle window, std::int32_t deviceIndex) override;
  Ticket ReadUserAccess(WindowHandle window, std::int32_t deviceIndex) override;
  Ticket ReadVolumeList(WindowHandle window, std::int32_t deviceIndex,
                        std::shared_ptr<VolumeInfo> first) override;

  // The requests started, by name ("discovery", "credentials", "address",
  // "login", "logout", "access", "volumes"), in order.
  std::vector<std::string> calls;
  // Names whose start operation fails (returns 0).
  std::set<std::string> refused;
  // The ticket of the latest request started.
  Ticket last = 0;
  // What the latest requests were given.
  std::int32_t lastIndex = -1;
  std::u16string lastUser;
  IpSettingBlock lastBlock{};
  std::shared_ptr<VolumeInfo> volumeList; // the request's share, as a worker holds it

private:
  Ticket Issue(const std::string &name, std::int32_t deviceIndex);
};

// A finished query for `ticket` put into the message store and announced
// with WM_QUERY_RESULT, as a worker hands its query over.
void PostQueryResult(WindowHandle window, Ticket ticket, WPARAM result,
                     const std::function<void(CQuery &)> &fill = {});
void PostUnanswered(WindowHandle window, Ticket ticket);

// Hands every queued message to the sequence; returns those it did not take
// (their payloads are freed).
std::vector<Message> Deliver(MessageQueueTarget &window, Sequence &sequence);

// A box record as discovery makes it.
NasDevice MakeDevice(const std::string &name, const std::string &ip, const std::string &mask,
                     const std::string &mac, const std::string &dhcp = "0");
// Replaces the device list with `devices` and the adapter table with one
// adapter (index 0).
void PlaceDevices(const std::vector<NasDevice> &devices, const std::string &adapterAddress,
                  const std::string &adapterMask);

} // namespace corvesta::test
