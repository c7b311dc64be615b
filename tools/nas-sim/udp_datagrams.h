#pragma once
// The datagrams of the box's UDP service: discovery probe, credential check
// and address change, with their replies. Little-endian; bytes not listed are
// zero.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ipv4_text.h"

namespace corvesta::sim {

inline constexpr std::uint16_t kUdpPort = 13579;
inline constexpr const char *kGroupAddress = "224.0.0.1";

inline constexpr std::uint8_t kProbeType = 0x01;
inline constexpr std::uint8_t kCredCheckType = 0x03;
inline constexpr std::uint8_t kCredReplyType = 0x04;
inline constexpr std::uint8_t kSetAddressType = 0x05;
inline constexpr std::uint8_t kSetAddressReplyType = 0x06;
inline constexpr std::uint8_t kProbeReplyType = 0x08;

inline constexpr std::size_t kTagOffset = 1;
inline constexpr std::size_t kTagSize = 10;
inline constexpr std::size_t kWireIdOffset = 11;
inline constexpr std::size_t kWireIdSize = 10;
inline constexpr std::size_t kProbeSize = 11;

inline constexpr std::uint8_t kCredCheckMarker = 0x04;
inline constexpr std::uint8_t kSetAddressMarker = 0x15;
inline constexpr std::size_t kMarkerOffset = 21;

// Credential check: length at 24, then user, 0x55 0xAA, password.
inline constexpr std::size_t kCredLengthOffset = 24;
inline constexpr std::size_t kCredTextOffset = 28;
inline constexpr std::uint8_t kCredSeparator[2] = {0x55, 0xAA};

// Address change: the 120-byte settings block at 60.
inline constexpr std::size_t kSetAddressSize = 180;
inline constexpr std::size_t kBlockLengthOffset = 56;
inline constexpr std::size_t kBlockOffset = 60;
inline constexpr std::size_t kBlockSize = 120;
inline constexpr std::size_t kBlockIpOffset = 10;
inline constexpr std::size_t kBlockMaskOffset = 26;
inline constexpr std::size_t kBlockGatewayOffset = 42;
inline constexpr std::size_t kBlockDhcpOffset = 58;
inline constexpr std::size_t kBlockTextSize = 16;

// Probe reply layout.
inline constexpr std::size_t kReplyMacOffset = 11;
inline constexpr std::size_t kReplyIpOffset = 17;
inline constexpr std::size_t kReplyDhcpOffset = 21;
inline constexpr std::size_t kReplyMaskOffset = 24;
inline constexpr std::size_t kReplyGatewayOffset = 40;
inline constexpr std::size_t kReplyTextFieldSize = 16;
inline constexpr std::size_t kReplyModelOffset = 56;
inline constexpr std::uint8_t kModelBytes[3] = {0x00, 0x0B, 0x00};
inline constexpr std::uint8_t kWrongModelBytes[3] = {0x00, 0x0C, 0x00};
inline constexpr std::size_t kReplyExtraTextOffset = 68;
inline constexpr std::size_t kReplyExtraTextSize = 32;
inline constexpr std::size_t kReplyNameLengthOffset = 100;
inline constexpr std::size_t kReplyNameOffset = 104;
inline constexpr std::size_t kNameMaxBytes = 255;

// Credential reply: verdict at 28.
inline constexpr std::size_t kCredReplyVerdictOffset = 28;
inline constexpr std::size_t kShortReplySize = 32;

// What a box puts into its replies.
struct BoxIdentity {
  MacAddress mac{};
  std::uint32_t ip = 0; // host order
  bool dhcp = false;
  std::string netmask;
  std::string gateway;
  std::string extraText;
  std::string name;
};

// The wire id of a box: hardware address, then IPv4 address.
std::string WireId(const MacAddress &mac, std::uint32_t ip);

// `tag` is the request's ten tag bytes, already altered when a stale echo is
// wanted.
std::string BuildProbeReply(std::string_view tag, const BoxIdentity &box, bool wrongModel);
std::string BuildCredReply(std::string_view tag, const BoxIdentity &box, bool accepted);
std::string BuildSetAddressReply(std::string_view tag, const BoxIdentity &box);

struct Credentials {
  std::string wireId;
  // Every way of splitting the text at a 0x55 0xAA separator, first split first.
  struct Split {
    std::string user;
    std::string password;
  };
  std::vector<Split> splits;
};
// Reads a credential check; nothing when it is malformed (`error` says why).
std::optional<Credentials> ParseCredCheck(std::string_view datagram, std::string &error);

struct NewAddress {
  std::string wireId;
  std::string ip;
  std::string netmask;
  std::string gateway; // empty when the block carries none
  bool dhcp = false;
};
// Reads an address change; nothing when it is malformed (`error` says why).
std::optional<NewAddress> ParseSetAddress(std::string_view datagram, std::string &error);

} // namespace corvesta::sim
