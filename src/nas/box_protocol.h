#pragma once
// What the boxes answer to: the UDP port and group of the box protocol, the
// message codes and fixed bytes of its datagrams, the model signature of a
// probe reply, and the port of the boxes' web service. Offsets and sizes of
// the datagrams live with their builders and parsers (udp_datagrams.h).

#include <cstddef>
#include <cstdint>

namespace corvesta::box {

// Every datagram goes to this group and port; boxes answer to the same port,
// either to the group or to the sender's address.
inline constexpr std::uint16_t kUdpPort = 13579;
inline constexpr char kGroupAddress[] = "224.0.0.1";

// The web service of a box.
inline constexpr std::uint16_t kHttpPort = 80;

// First byte of each datagram.
inline constexpr std::uint8_t kCodeProbe = 0x01;
inline constexpr std::uint8_t kCodeCredCheck = 0x03;
inline constexpr std::uint8_t kCodeCredReply = 0x04;
inline constexpr std::uint8_t kCodeSetAddress = 0x05;
inline constexpr std::uint8_t kCodeSetAddressReply = 0x06;
inline constexpr std::uint8_t kCodeProbeReply = 0x08;

// The byte at offset 21 of the credential check and of the address change.
inline constexpr std::uint8_t kCredCheckSubCode = 0x04;
inline constexpr std::uint8_t kSetAddressSubCode = 0x15;
// Between the user name and the password of a credential check.
inline constexpr std::uint8_t kCredSeparator[2] = {0x55, 0xAA};

// Bytes 56, 57 and 58 of a probe reply from a box this program serves.
inline constexpr std::uint8_t kModelSignature[3] = {0x00, 0x0B, 0x00};

// The interface name carried in an address change.
inline constexpr char kLanInterfaceName[] = "LAN1";

// Every receive reads into a buffer of this size.
inline constexpr std::size_t kReplyBufferSize = 4096;

} // namespace corvesta::box
