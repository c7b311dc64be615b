// The set-up values of a box: wizard information, device identity, time
// zone, network settings and the address lock.

#include <charconv>

#include "ipv4_text.h"
#include "simulator.h"
#include "web_commands.h"
#include "xml_writer.h"

namespace corvesta::sim {

namespace {
constexpr const char *kNoAddress = "0.0.0.0";

bool IsAddressOrEmpty(const std::string &text) {
  return text.empty() || ParseIpv4(text);
}

// The DNS texts as stored: "0.0.0.0" means none.
std::string DnsText(const std::string &text) {
  return text == kNoAddress ? "" : text;
}
} // namespace

HttpReply WizardInfo(CommandContext &context, const Values &) {
  const Box &box = context.box.state;
  XmlWriter xml("config");
  xml.Open("lan")
      .Element("dhcp_enable", box.dhcp ? 1 : 0)
      .Element("ip", box.ip)
      .Element("netmask", box.netmask)
      .Element("gateway", box.gateway)
      .Element("dns1", box.dns1)
      .Element("dns2", box.dns2)
      .Close("lan");
  xml.Open("system")
      .Element("name", box.name)
      .Element("workgroup", box.workgroup)
      .Element("description", box.description)
      .Element("timezone", box.timezone)
      .Close("system");
  return XmlReply(xml.Finish());
}

HttpReply SetDevice(CommandContext &context, const Values &values) {
  const std::string &description = values[0];
  const std::string &hostname = values[1];
  const std::string &workgroup = values[2];
  if (hostname.empty() || hostname.size() > kShortTextMaxBytes) {
    return StatusReply(false, "the host name must have 1 to 15 bytes");
  }
  if (workgroup.size() > kShortTextMaxBytes || description.size() > kDescriptionMaxBytes) {
    return StatusReply(false, "the workgroup has at most 15 bytes, the description 30");
  }
  Box &box = context.box.state;
  for (const auto &other : context.simulator.Boxes()) {
    if (&other->state != &box && other->state.name == hostname) {
      return StatusReply(false, "another box has that name");
    }
  }
  box.name = hostname;
  box.workgroup = workgroup;
  box.description = description;
  return StatusReply(true);
}

HttpReply SetTimezone(CommandContext &context, const Values &values) {
  const std::string &text = values[0];
  int zone = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), zone);
  if (ec != std::errc() || end != text.data() + text.size() || zone < 0) {
    return StatusReply(false, "f_timezone must be a zone number");
  }
  context.box.state.timezone = zone;
  return StatusReply(true);
}

HttpReply SetNetwork(CommandContext &context, const Values &values) {
  const std::string &dhcpText = values[0];
  const std::string &ip = values[1];
  const std::string &gateway = values[2];
  const std::string &netmask = values[3];
  if (dhcpText != "0" && dhcpText != "1") {
    return StatusReply(false, "f_dhcp_enable must be 0 or 1");
  }
  const bool dhcp = dhcpText == "1";
  if (!IsAddressOrEmpty(values[4]) || !IsAddressOrEmpty(values[5])) {
    return StatusReply(false, "a DNS server is not an IPv4 address");
  }
  SimBox &box = context.box;
  std::string newIp = box.state.ip;
  std::string newMask = box.state.netmask;
  std::string newGateway = gateway;
  if (dhcp) {
    // The DHCP server decides; without one configured the box keeps its address.
    if (!box.state.dhcpLeaseIp.empty()) {
      newIp = box.state.dhcpLeaseIp;
    }
    if (ParseIpv4(netmask)) {
      newMask = netmask;
    }
    if (!IsAddressOrEmpty(newGateway)) {
      newGateway = box.state.gateway;
    }
  } else {
    if (!ParseIpv4(ip) || !ParseIpv4(netmask) || !IsAddressOrEmpty(gateway)) {
      return StatusReply(false, "address, mask or gateway is not an IPv4 address");
    }
    newIp = ip;
    newMask = netmask;
  }
  std::string error;
  if (!context.simulator.MoveBox(box, newIp, box.state.addressGraceMs, error)) {
    box.lastError = "cgi_ip: " + error;
    return StatusReply(false, error);
  }
  box.state.dhcp = dhcp;
  box.state.netmask = newMask;
  box.state.gateway = newGateway == kNoAddress ? "" : newGateway;
  box.state.dns1 = DnsText(values[4]);
  box.state.dns2 = DnsText(values[5]);
  box.addressLocked = false;
  box.lanReadyAt =
      dhcp ? Clock::now() + std::chrono::milliseconds(box.state.dhcpWaitMs) : Clock::time_point{};
  return StatusReply(true);
}

HttpReply LanAddress(CommandContext &context, const Values &) {
  const SimBox &box = context.box;
  const bool waiting = Clock::now() < box.lanReadyAt;
  XmlWriter xml("info");
  xml.Element("ip1", waiting ? kNoAddress : box.state.ip)
      .Element("netmask1", waiting ? kNoAddress : box.state.netmask)
      .Element("gateway1", waiting ? "" : box.state.gateway);
  return XmlReply(xml.Finish());
}

HttpReply LockAddress(CommandContext &context, const Values &) {
  context.box.addressLocked = true;
  return StatusReply(true);
}

} // namespace corvesta::sim
