#include "udp_sim_helpers.h"

#include <arpa/inet.h>

#include <cstdio>

#include "nas/device_list.h"
#include "nas/take_query.h"
#include "nas/udp/discovery.h"
#include "nas/udp/request_tag.h"
#include "platform/text_codec.h"
#include "worker/private_messages.h"

namespace corvesta::test {

std::unique_ptr<CQuery> Discover(MessageQueueTarget &window, std::chrono::milliseconds timeout,
                                 DiscoveryTarget target) {
  Ticket ticket = StartDiscovery(window.Handle(), std::move(target));
  if (ticket == 0) {
    return nullptr;
  }
  auto message = window.WaitForMessage(WM_QUERY_RESULT, timeout);
  if (!message) {
    return nullptr;
  }
  std::unique_ptr<CQuery> query = TakeQuery(*message);
  if (query && (query->ticket != ticket || message->wParam != kResultSuccess)) {
    return nullptr;
  }
  return query;
}

int DeviceIndexByName(std::string_view name) {
  std::vector<NasDevice> devices = DeviceList::Instance().Snapshot();
  for (std::size_t i = 0; i < devices.size(); ++i) {
    if (FieldText(devices[i].name, sizeof devices[i].name) == name) {
      return static_cast<int>(i);
    }
  }
  return -1;
}

std::string CurrentTagBytes() {
  RequestTag tag = CurrentRequestTag();
  return std::string(tag.bytes.begin(), tag.bytes.end());
}

std::string WireIdBytes(std::string_view mac, std::string_view ip) {
  std::string bytes;
  unsigned m[6] = {};
  std::sscanf(std::string(mac).c_str(), "%x:%x:%x:%x:%x:%x", &m[0], &m[1], &m[2], &m[3], &m[4],
              &m[5]);
  for (unsigned b : m) {
    bytes.push_back(static_cast<char>(b));
  }
  in_addr address{};
  inet_pton(AF_INET, std::string(ip).c_str(), &address);
  bytes.append(reinterpret_cast<const char *>(&address), 4);
  return bytes;
}

std::string LittleEndian32(std::uint32_t value) {
  std::string bytes;
  for (int i = 0; i < 4; ++i) {
    bytes.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
  }
  return bytes;
}

} // namespace corvesta::test
