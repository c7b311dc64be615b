#pragma once
// The decisions of the set-IP dialog before anything is sent: DHCP for a box
// that already uses it sends nothing; a loopback address is refused; a
// static gateway outside the subnet of the address and mask needs the
// person's confirmation (the question is the front end's to ask); and the
// setting block that the address change carries.

#include <optional>
#include <string>
#include <string_view>

#include "nas/nas_device.h"
#include "nas/udp/ip_setting_block.h"

namespace corvesta {

inline constexpr std::u16string_view kWarningCaption = u"Warning";
inline constexpr std::u16string_view kAddressInputErrorText =
    u"IP address input error. Please try again.";
inline constexpr std::u16string_view kGatewayQuestion =
    u"Warning - The default gateway is not on the same network segment(subnet)that is defined "
    u"by the IP address and subnet mask. Do you want to save this configuration?";

// What the person chose: DHCP, or a static address with its mask and an
// optional gateway, each already read and checked for its kind (ReadAddress)
// and written as "%d.%d.%d.%d".
struct AddressChoice {
  bool dhcp = false;
  std::string ip;
  std::string mask;
  std::string gateway; // empty: no gateway
};

enum class AddressPlanResult {
  NothingToSend, // DHCP for a box that already uses DHCP: done as it is
  Refused,       // the message (with its caption) says why
  Send,          // send `block`, after the gateway question when there is one
};

struct AddressPlan {
  AddressPlanResult result = AddressPlanResult::Refused;
  std::u16string_view message; // Refused: the text to show
  std::u16string_view caption;
  // Send: asked with Yes and No (caption "Warning") before sending; a
  // person who does not answer Yes sends nothing. Empty: nothing to ask.
  std::u16string_view gatewayQuestion;
  IpSettingBlock block{};
};

// A static choice the box cannot use (CheckStaticAddressUse) is refused
// with caption "Error". With DHCP the box's current address, mask and gateway travel in the block
// unchecked, as the dialog's hidden fields hold them.
AddressPlan PlanAddressChange(const NasDevice &box, const AddressChoice &choice);

// The static addresses a box cannot work with, for the set-IP dialog and the
// network page alike: a mask of 255.255.255.254 or 255.255.255.255 for its
// own address (kMaskTooNarrowText), a gateway equal to its own address
// (kGatewayIsBoxAddressText). The English text of the first fault (shown
// with the caption "Error"), or nothing. An empty gateway is none; texts
// that are no addresses are the address reader's to refuse.
std::optional<std::u16string_view> CheckStaticAddressUse(std::string_view ip, std::string_view mask,
                                                         std::string_view gateway);

// The box's "dhcp" text reads as the number 1.
bool BoxUsesDhcp(const NasDevice &box);
// The address's first byte is 127.
bool IsLoopbackAddress(std::string_view ip);
// (mask AND ip) equals (mask AND gateway). An empty gateway is never asked
// about; texts that are no addresses are not in the subnet.
bool GatewayInSubnet(std::string_view ip, std::string_view mask, std::string_view gateway);

} // namespace corvesta
