#pragma once
// The datagrams of the box protocol, byte for byte: the probe, the credential
// check and the address change that are sent, and the replies that are read.
// Multi-byte integers are little-endian; bytes not written are zero. A
// received datagram is read only at the listed offsets, never past its end,
// and one that is too short for what it must carry is not accepted.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "nas/nas_device.h"
#include "nas/udp/ip_setting_block.h"
#include "nas/udp/request_tag.h"

namespace corvesta::udp {

using Datagram = std::vector<std::uint8_t>;
using Bytes = std::span<const std::uint8_t>;

// Common head of every datagram: code at 0, tag (or its echo) at 1.
inline constexpr std::size_t kCodeOffset = 0;
inline constexpr std::size_t kTagOffset = 1;

// PROBE
inline constexpr std::size_t kProbeSize = 11;

// PROBE_REPLY
inline constexpr std::size_t kReplyHardwareOffset = 11; // 6 bytes, then 4 bytes IPv4
inline constexpr std::size_t kReplyAddressOffset = 17;
inline constexpr std::size_t kReplyDhcpOffset = 21;
inline constexpr std::size_t kReplyNetmaskOffset = 24;
inline constexpr std::size_t kReplyGatewayOffset = 40;
inline constexpr std::size_t kReplyAddressTextSize = 16;
inline constexpr std::size_t kReplyModelOffset = 56;
inline constexpr std::size_t kReplyExtraTextOffset = 68;
inline constexpr std::size_t kReplyExtraTextSize = 32;
inline constexpr std::size_t kReplyNameLengthOffset = 100;
inline constexpr std::size_t kReplyNameOffset = 104;

// CRED_CHECK: 28 + u + 2 + p bytes
inline constexpr std::size_t kWireIdOffset = 11;
inline constexpr std::size_t kSubCodeOffset = 21;
inline constexpr std::size_t kCredLengthOffset = 24;
inline constexpr std::size_t kCredUserOffset = 28;

// CRED_REPLY
inline constexpr std::size_t kCredReplyAddressOffset = 17;
inline constexpr std::size_t kCredReplyVerdictOffset = 28;

// SET_ADDRESS: 180 bytes
inline constexpr std::size_t kSetAddressNetmaskOffset = 24;
inline constexpr std::size_t kSetAddressGatewayOffset = 40;
inline constexpr std::size_t kSetAddressBlockLengthOffset = 56;
inline constexpr std::size_t kSetAddressBlockOffset = 60;
inline constexpr std::size_t kSetAddressSize = kSetAddressBlockOffset + sizeof(IpSettingBlock);

Datagram BuildProbe(const RequestTag &tag);
// User name and password are cut to 16 bytes each at a character boundary.
Datagram BuildCredCheck(const RequestTag &tag, const std::uint8_t (&wireId)[kWireIdSize],
                        std::string_view userName, std::string_view password);
Datagram BuildSetAddress(const RequestTag &tag, const std::uint8_t (&wireId)[kWireIdSize],
                         const IpSettingBlock &block);

// True when the datagram starts with `code` followed by the first six bytes
// of `tag`.
bool HasHead(Bytes datagram, std::uint8_t code, const RequestTag &tag);

// The record a probe reply describes (adapter left 0), or nothing when the
// code, the tag echo or the model bytes do not match or the datagram is
// shorter than its name length says. Texts that overrun their fields are cut
// and terminated; a zero byte in the name ends it.
std::optional<NasDevice> ParseProbeReply(Bytes datagram, const RequestTag &tag);

struct CredReply {
  char ip[16] = {};         // the answering box's address, "%d.%d.%d.%d"
  std::uint8_t verdict = 0; // nonzero: accepted
};
std::optional<CredReply> ParseCredReply(Bytes datagram, const RequestTag &tag);

enum class SetAddressReply {
  Other,        // not an address-change reply: dropped without counting
  StaleTag,     // a reply carrying another tag: counts as a wait without answer
  Acknowledged, // the box took the settings
};
SetAddressReply ClassifySetAddressReply(Bytes datagram, const RequestTag &tag);

} // namespace corvesta::udp
