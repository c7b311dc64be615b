#include "udp_datagrams.h"

#include <algorithm>
#include <cstring>

namespace corvesta::sim {

namespace {

void PutText(std::string &datagram, std::size_t offset, std::string_view text,
             std::size_t fieldSize) {
  // Leave room for the terminating zero.
  const std::size_t length = std::min(text.size(), fieldSize - 1);
  datagram.replace(offset, length, text.substr(0, length));
}

void PutU32(std::string &datagram, std::size_t offset, std::uint32_t value) {
  for (std::size_t i = 0; i < 4; ++i) {
    datagram[offset + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
  }
}

std::uint32_t GetU32(std::string_view datagram, std::size_t offset) {
  std::uint32_t value = 0;
  for (std::size_t i = 0; i < 4; ++i) {
    value |= static_cast<std::uint32_t>(static_cast<unsigned char>(datagram[offset + i]))
             << (8 * i);
  }
  return value;
}

std::string FieldText(std::string_view datagram, std::size_t offset, std::size_t size) {
  const std::string_view field = datagram.substr(offset, size);
  return std::string(field.substr(0, field.find('\0')));
}

std::string Header(std::uint8_t type, std::string_view tag, const BoxIdentity &box,
                   std::size_t size) {
  std::string datagram(size, '\0');
  datagram[0] = static_cast<char>(type);
  datagram.replace(kTagOffset, kTagSize, tag.substr(0, kTagSize));
  datagram.replace(kWireIdOffset, kWireIdSize, WireId(box.mac, box.ip));
  return datagram;
}

} // namespace

std::string WireId(const MacAddress &mac, std::uint32_t ip) {
  std::string id(kWireIdSize, '\0');
  std::memcpy(id.data(), mac.data(), mac.size());
  for (std::size_t i = 0; i < 4; ++i) {
    id[6 + i] = static_cast<char>((ip >> (24 - 8 * i)) & 0xFF); // first octet first
  }
  return id;
}

std::string BuildProbeReply(std::string_view tag, const BoxIdentity &box, bool wrongModel) {
  const std::string_view name = std::string_view(box.name).substr(0, kNameMaxBytes);
  std::string datagram = Header(kProbeReplyType, tag, box, kReplyNameOffset + name.size());
  datagram[kReplyDhcpOffset] = box.dhcp ? '1' : '0';
  PutText(datagram, kReplyMaskOffset, box.netmask, kReplyTextFieldSize);
  PutText(datagram, kReplyGatewayOffset, box.gateway, kReplyTextFieldSize);
  const std::uint8_t *model = wrongModel ? kWrongModelBytes : kModelBytes;
  for (std::size_t i = 0; i < 3; ++i) {
    datagram[kReplyModelOffset + i] = static_cast<char>(model[i]);
  }
  PutText(datagram, kReplyExtraTextOffset, box.extraText, kReplyExtraTextSize);
  PutU32(datagram, kReplyNameLengthOffset, static_cast<std::uint32_t>(name.size()));
  datagram.replace(kReplyNameOffset, name.size(), name);
  return datagram;
}

std::string BuildCredReply(std::string_view tag, const BoxIdentity &box, bool accepted) {
  std::string datagram = Header(kCredReplyType, tag, box, kShortReplySize);
  datagram[kCredReplyVerdictOffset] = accepted ? 1 : 0;
  return datagram;
}

std::string BuildSetAddressReply(std::string_view tag, const BoxIdentity &box) {
  return Header(kSetAddressReplyType, tag, box, kShortReplySize);
}

std::optional<Credentials> ParseCredCheck(std::string_view datagram, std::string &error) {
  if (datagram.size() < kCredTextOffset + 2) {
    error = "credential check shorter than 30 bytes";
    return std::nullopt;
  }
  if (static_cast<unsigned char>(datagram[kMarkerOffset]) != kCredCheckMarker) {
    error = "credential check without the marker 0x04 at byte 21";
    return std::nullopt;
  }
  const std::uint32_t length = GetU32(datagram, kCredLengthOffset);
  if (length != datagram.size() - kCredTextOffset) {
    error = "credential check whose length field (" + std::to_string(length) +
            ") does not match its size (" + std::to_string(datagram.size()) + " bytes)";
    return std::nullopt;
  }
  Credentials credentials;
  credentials.wireId = std::string(datagram.substr(kWireIdOffset, kWireIdSize));
  const std::string_view text = datagram.substr(kCredTextOffset);
  for (std::size_t i = 0; i + 1 < text.size(); ++i) {
    if (static_cast<unsigned char>(text[i]) == kCredSeparator[0] &&
        static_cast<unsigned char>(text[i + 1]) == kCredSeparator[1]) {
      credentials.splits.push_back(
          {std::string(text.substr(0, i)), std::string(text.substr(i + 2))});
    }
  }
  if (credentials.splits.empty()) {
    error = "credential check without the separator 0x55 0xAA";
    return std::nullopt;
  }
  return credentials;
}

std::optional<NewAddress> ParseSetAddress(std::string_view datagram, std::string &error) {
  if (datagram.size() < kSetAddressSize) {
    error = "address change shorter than 180 bytes";
    return std::nullopt;
  }
  if (static_cast<unsigned char>(datagram[kMarkerOffset]) != kSetAddressMarker) {
    error = "address change without the marker 0x15 at byte 21";
    return std::nullopt;
  }
  if (GetU32(datagram, kBlockLengthOffset) != kBlockSize) {
    error = "address change whose block length is not 120";
    return std::nullopt;
  }
  NewAddress address;
  address.wireId = std::string(datagram.substr(kWireIdOffset, kWireIdSize));
  const std::string_view block = datagram.substr(kBlockOffset, kBlockSize);
  address.ip = FieldText(block, kBlockIpOffset, kBlockTextSize);
  address.netmask = FieldText(block, kBlockMaskOffset, kBlockTextSize);
  address.gateway = FieldText(block, kBlockGatewayOffset, kBlockTextSize);
  address.dhcp = block[kBlockDhcpOffset] == '1';
  if (!ParseIpv4(address.ip) || !ParseIpv4(address.netmask) ||
      (!address.gateway.empty() && !ParseIpv4(address.gateway))) {
    error = "address change with an unreadable address, mask or gateway (\"" + address.ip +
            "\", \"" + address.netmask + "\", \"" + address.gateway + "\")";
    return std::nullopt;
  }
  if (block[kBlockDhcpOffset] != '0' && block[kBlockDhcpOffset] != '1') {
    error = "address change whose DHCP flag is neither '0' nor '1'";
    return std::nullopt;
  }
  return address;
}

} // namespace corvesta::sim
