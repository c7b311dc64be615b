#include "nas/udp/udp_datagrams.h"

#include <cstdio>
#include <cstring>
#include <iterator>
#include <string>

#include "nas/box_protocol.h"
#include "nas/current_credentials.h"
#include "platform/text_codec.h"

namespace corvesta::udp {

namespace {

void PutTag(Datagram &datagram, const RequestTag &tag) {
  std::memcpy(datagram.data() + kTagOffset, tag.bytes.data(), kRequestTagSize);
}

void PutLittleEndian32(Datagram &datagram, std::size_t offset, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) {
    datagram[offset + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(value >> (8 * i));
  }
}

std::uint32_t LittleEndian32(Bytes datagram, std::size_t offset) {
  std::uint32_t value = 0;
  for (int i = 3; i >= 0; --i) {
    value = (value << 8) | datagram[offset + static_cast<std::size_t>(i)];
  }
  return value;
}

// A zero-terminated text of at most `size` bytes at `offset`, copied into a
// field of `fieldSize` bytes.
void CopyText(char *field, std::size_t fieldSize, Bytes datagram, std::size_t offset,
              std::size_t size) {
  std::string_view text = FieldText(reinterpret_cast<const char *>(datagram.data() + offset), size);
  CopyToField(field, fieldSize, text);
}

void AddressText(char (&field)[16], Bytes datagram, std::size_t offset) {
  std::snprintf(field, sizeof field, "%u.%u.%u.%u", datagram[offset], datagram[offset + 1],
                datagram[offset + 2], datagram[offset + 3]);
}

} // namespace

Datagram BuildProbe(const RequestTag &tag) {
  Datagram datagram(kProbeSize, 0);
  datagram[kCodeOffset] = box::kCodeProbe;
  PutTag(datagram, tag);
  return datagram;
}

Datagram BuildCredCheck(const RequestTag &tag, const std::uint8_t (&wireId)[kWireIdSize],
                        std::string_view userName, std::string_view password) {
  std::string_view user = Utf8Prefix(userName, kCredentialMaxBytes);
  std::string_view pass = Utf8Prefix(password, kCredentialMaxBytes);
  const std::size_t separator = sizeof box::kCredSeparator;
  Datagram datagram(kCredUserOffset, 0);
  datagram[kCodeOffset] = box::kCodeCredCheck;
  PutTag(datagram, tag);
  std::memcpy(datagram.data() + kWireIdOffset, wireId, kWireIdSize);
  datagram[kSubCodeOffset] = box::kCredCheckSubCode;
  PutLittleEndian32(datagram, kCredLengthOffset,
                    static_cast<std::uint32_t>(user.size() + separator + pass.size()));
  datagram.insert(datagram.end(), user.begin(), user.end());
  datagram.insert(datagram.end(), std::begin(box::kCredSeparator), std::end(box::kCredSeparator));
  datagram.insert(datagram.end(), pass.begin(), pass.end());
  return datagram;
}

Datagram BuildSetAddress(const RequestTag &tag, const std::uint8_t (&wireId)[kWireIdSize],
                         const IpSettingBlock &block) {
  Datagram datagram(kSetAddressSize, 0);
  datagram[kCodeOffset] = box::kCodeSetAddress;
  PutTag(datagram, tag);
  std::memcpy(datagram.data() + kWireIdOffset, wireId, kWireIdSize);
  datagram[kSubCodeOffset] = box::kSetAddressSubCode;
  std::memcpy(datagram.data() + kSetAddressNetmaskOffset, block.netmask, sizeof block.netmask);
  std::memcpy(datagram.data() + kSetAddressGatewayOffset, block.gateway, sizeof block.gateway);
  PutLittleEndian32(datagram, kSetAddressBlockLengthOffset, sizeof(IpSettingBlock));
  std::memcpy(datagram.data() + kSetAddressBlockOffset, &block, sizeof block);
  return datagram;
}

bool HasHead(Bytes datagram, std::uint8_t code, const RequestTag &tag) {
  if (datagram.size() < kTagOffset + kRequestTagRandomBytes || datagram[kCodeOffset] != code) {
    return false;
  }
  return std::memcmp(datagram.data() + kTagOffset, tag.bytes.data(), kRequestTagRandomBytes) == 0;
}

std::optional<NasDevice> ParseProbeReply(Bytes datagram, const RequestTag &tag) {
  if (datagram.size() < kReplyNameOffset || !HasHead(datagram, box::kCodeProbeReply, tag)) {
    return std::nullopt;
  }
  if (std::memcmp(datagram.data() + kReplyModelOffset, box::kModelSignature,
                  sizeof box::kModelSignature) != 0) {
    return std::nullopt;
  }
  std::uint32_t nameLength = LittleEndian32(datagram, kReplyNameLengthOffset);
  if (nameLength > datagram.size() - kReplyNameOffset) {
    return std::nullopt;
  }
  NasDevice device;
  CopyText(device.name, sizeof device.name, datagram, kReplyNameOffset, nameLength);
  AddressText(device.ip, datagram, kReplyAddressOffset);
  CopyText(device.netmask, sizeof device.netmask, datagram, kReplyNetmaskOffset,
           kReplyAddressTextSize);
  CopyText(device.gateway, sizeof device.gateway, datagram, kReplyGatewayOffset,
           kReplyAddressTextSize);
  device.dhcp[0] = static_cast<char>(datagram[kReplyDhcpOffset]);
  std::memcpy(device.wire_id, datagram.data() + kReplyHardwareOffset, kWireIdSize);
  CopyText(device.extra_text, sizeof device.extra_text, datagram, kReplyExtraTextOffset,
           kReplyExtraTextSize);
  const std::uint8_t *mac = datagram.data() + kReplyHardwareOffset;
  std::snprintf(device.mac, sizeof device.mac, "%02x:%02x:%02x:%02x:%02x:%02x", mac[0], mac[1],
                mac[2], mac[3], mac[4], mac[5]);
  return device;
}

std::optional<CredReply> ParseCredReply(Bytes datagram, const RequestTag &tag) {
  if (datagram.size() <= kCredReplyVerdictOffset || !HasHead(datagram, box::kCodeCredReply, tag)) {
    return std::nullopt;
  }
  CredReply reply;
  AddressText(reply.ip, datagram, kCredReplyAddressOffset);
  reply.verdict = datagram[kCredReplyVerdictOffset];
  return reply;
}

SetAddressReply ClassifySetAddressReply(Bytes datagram, const RequestTag &tag) {
  if (datagram.size() < kTagOffset + kRequestTagRandomBytes ||
      datagram[kCodeOffset] != box::kCodeSetAddressReply) {
    return SetAddressReply::Other;
  }
  return HasHead(datagram, box::kCodeSetAddressReply, tag) ? SetAddressReply::Acknowledged
                                                           : SetAddressReply::StaleTag;
}

} // namespace corvesta::udp
