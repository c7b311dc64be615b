#include "setup/address_change_plan.h"

#include <charconv>

#include "i18n/own_texts.h"
#include "nas/udp/subnet.h"
#include "platform/text_codec.h"
#include "setup/address_entry.h"

namespace corvesta {

namespace {
constexpr int kLoopbackFirstByte = 127;
// The widest mask that leaves a network of more than two addresses (/30).
constexpr std::uint32_t kWidestUsableMask = 0xFFFFFFFCu;
} // namespace

std::optional<std::u16string_view> CheckStaticAddressUse(std::string_view ip, std::string_view mask,
                                                         std::string_view gateway) {
  const auto netmask = ParseDottedQuad(mask);
  if (netmask && *netmask > kWidestUsableMask) {
    return kMaskTooNarrowText;
  }
  const auto address = ParseDottedQuad(ip);
  const auto router = ParseDottedQuad(gateway);
  if (address && router && *address == *router) {
    return kGatewayIsBoxAddressText;
  }
  return std::nullopt;
}

bool BoxUsesDhcp(const NasDevice &box) {
  // Read as a number: leading digits count, anything after them does not.
  const std::string_view text = FieldText(box.dhcp, sizeof box.dhcp);
  int flag = 0;
  std::from_chars(text.data(), text.data() + text.size(), flag);
  return flag == 1;
}

bool IsLoopbackAddress(std::string_view ip) {
  const auto address = ParseDottedQuad(ip);
  return address && (*address >> 24) == kLoopbackFirstByte;
}

bool GatewayInSubnet(std::string_view ip, std::string_view mask, std::string_view gateway) {
  if (gateway.empty()) {
    return true;
  }
  const auto address = ParseDottedQuad(ip);
  const auto netmask = ParseDottedQuad(mask);
  const auto router = ParseDottedQuad(gateway);
  return address && netmask && router && (*address & *netmask) == (*router & *netmask);
}

AddressPlan PlanAddressChange(const NasDevice &box, const AddressChoice &choice) {
  AddressPlan plan;
  if (choice.dhcp && BoxUsesDhcp(box)) {
    plan.result = AddressPlanResult::NothingToSend;
    return plan;
  }
  const std::string_view ip = choice.dhcp ? FieldText(box.ip, sizeof box.ip) : choice.ip;
  const std::string_view mask =
      choice.dhcp ? FieldText(box.netmask, sizeof box.netmask) : choice.mask;
  const std::string_view gateway =
      choice.dhcp ? FieldText(box.gateway, sizeof box.gateway) : choice.gateway;
  if (IsLoopbackAddress(ip)) {
    plan.result = AddressPlanResult::Refused;
    plan.message = kAddressInputErrorText;
    plan.caption = kWarningCaption;
    return plan;
  }
  if (!choice.dhcp) {
    if (const auto problem = CheckStaticAddressUse(ip, mask, gateway)) {
      plan.result = AddressPlanResult::Refused;
      plan.message = *problem;
      plan.caption = kAddressErrorCaption;
      return plan;
    }
  }
  plan.result = AddressPlanResult::Send;
  if (!choice.dhcp && !GatewayInSubnet(ip, mask, gateway)) {
    plan.gatewayQuestion = kGatewayQuestion;
  }
  plan.block = MakeIpSettingBlock(ip, mask, gateway, choice.dhcp);
  return plan;
}

} // namespace corvesta
