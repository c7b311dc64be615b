#include "sim_exchange.h"

#include "nas/device_list.h"
#include "nas/replies/hd_info.h"
#include "nas/take_query.h"
#include "platform/text_codec.h"
#include "worker/private_messages.h"

namespace corvesta::test {

void UseSingleDevice(std::string_view ip) {
  const std::uint64_t generation = DeviceList::Instance().Clear();
  DeviceList::Instance().Update(generation, [&](std::vector<NasDevice> &devices) {
    NasDevice device;
    CopyToField(device.name, sizeof device.name, "alpha");
    CopyToField(device.ip, sizeof device.ip, ip);
    CopyToField(device.netmask, sizeof device.netmask, "255.0.0.0");
    devices.push_back(device);
  });
}

void Release(const Message &message) {
  if (message.message == WM_QUERY_RESULT) {
    TakeQuery(message);
  } else if (message.message == WM_DISK_INFO) {
    TakeHdInfo(message.wParam);
  }
}

std::optional<Message> Await(MessageQueueTarget &window, UINT message,
                             std::chrono::milliseconds timeout) {
  return window.WaitForMessage(message, timeout);
}

std::vector<Message> Collect(MessageQueueTarget &window, std::chrono::milliseconds first,
                             std::chrono::milliseconds quiet) {
  std::vector<Message> messages;
  std::optional<Message> next = window.WaitForMessage(first);
  while (next) {
    messages.push_back(*next);
    Release(*next);
    next = window.WaitForMessage(quiet);
  }
  return messages;
}

std::vector<SimRequest> WebRequests(const NasSimProcess &sim) {
  std::vector<SimRequest> web;
  for (SimRequest &request : sim.Requests()) {
    if (request.transport == "tcp") {
      web.push_back(std::move(request));
    }
  }
  return web;
}

} // namespace corvesta::test
