#pragma once
// What the boxes answer to: the UDP port and group of the box protocol, the
// message codes and fixed bytes of its datagrams, the model signature of a
// probe reply, and the port of the boxes' web service. Offsets and sizes of
// the datagrams live with their builders and parsers (udp_datagrams.h).

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "nas/query_kind.h"

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

// ---- Web service requests.

// The request path of each command index. Index 0 and 17 are never sent.
inline constexpr std::string_view kEndpointPaths[kCommandIndexCount] = {
    " ",                        // 0
    "/cgi-bin/account_mgr.cgi", // 1 change password
    "/cgi-bin/wizard_mgr.cgi",  // 2 read wizard information
    "/cgi-bin/system_mgr.cgi",  // 3 set device identity
    "/cgi-bin/system_mgr.cgi",  // 4 set time zone
    "/cgi-bin/network_mgr.cgi", // 5 set network
    "/cgi-bin/network_mgr.cgi", // 6 read LAN address
    "/cgi-bin/network_mgr.cgi", // 7 lock address
    "/cgi-bin/account_mgr.cgi", // 8 read share list
    "/xml/current_hd_info.xml", // 9 read disk information
    "/cgi-bin/hd_config.cgi",   // 10 stop file browser
    "/cgi-bin/hd_config.cgi",   // 11 create volumes
    "/xml/dm_read_state.xml",   // 12 read format state
    "/cgi-bin/hd_config.cgi",   // 13 remount disks
    "/cgi-bin/hd_config.cgi",   // 14 read remount state
    "/cgi-bin/hd_config.cgi",   // 15 finish formatting
    "/cgi-bin/hd_config.cgi",   // 16 read volume list
    "/cgi-bin/usb_device.cgi",  // 17
    "/cgi-bin/account_mgr.cgi", // 18 read user access
    "/cgi-bin/login_mgr.cgi",   // 19 log in
    "/cgi-bin/login_mgr.cgi",   // 20 log out
};

constexpr std::string_view EndpointPath(CommandIndex index) {
  const auto at = static_cast<std::uint32_t>(index);
  return at < kCommandIndexCount ? kEndpointPaths[at] : std::string_view{};
}

// The user part of every Basic authorisation, whoever is logged in; the
// password part is the current password.
inline constexpr std::string_view kAuthorizationUser = "admin";

// Longest request text, and longest "admin:<password>" text before encoding.
inline constexpr std::size_t kMaxRequestBytes = 1023;
inline constexpr std::size_t kMaxAuthorizationBytes = 63;

// The volume lines of a volume creation: each line is built in an area of
// this size, and all lines together stay within kMaxVolumeLinesBytes.
inline constexpr std::size_t kVolumeLineArea = 512;
inline constexpr std::size_t kMaxVolumeLinesBytes = 511;

// The only status line a reply may start with: "HTTP/" kHttpVersion " " kHttpStatusOk.
inline constexpr std::string_view kHttpVersion = "1.0";
inline constexpr std::string_view kHttpStatusOk = "200";

} // namespace corvesta::box
