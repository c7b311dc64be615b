#include "sim_box.h"

namespace corvesta::sim {

BoxIdentity SimBox::Identity() const {
  BoxIdentity identity;
  identity.mac = state.mac;
  identity.ip = Ip();
  identity.dhcp = state.dhcp;
  identity.netmask = state.netmask;
  identity.gateway = state.gateway;
  identity.extraText = state.extraText;
  identity.name = state.name;
  return identity;
}

std::uint32_t SimBox::Ip() const {
  return ParseIpv4(state.ip).value_or(0);
}

nlohmann::json BoxWithRuntimeToJson(const SimBox &box) {
  nlohmann::json json = BoxToJson(box.state);
  nlohmann::json listening = nlohmann::json::array();
  for (const WebListener &listener : box.listeners) {
    listening.push_back(listener.address);
  }
  json["runtime"] = {{"format", FormatChainToJson(box.format, Clock::now())},
                     {"address_locked", box.addressLocked},
                     {"web_addresses", listening},
                     {"udp_bound", box.udpSocket.Valid()},
                     {"last_error", box.lastError}};
  return json;
}

} // namespace corvesta::sim
