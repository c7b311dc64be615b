// Every reader of a datagram any host on the LAN can send: the probe reply,
// the credential reply and the address-change reply, over any bytes. The
// tag they are checked against is fixed, so the fuzzer can reach the parts
// behind the head check. Whatever arrives, the texts of the record stay
// terminated inside their fields (the sanitizers check the reads).
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "nas/box_protocol.h"
#include "nas/udp/udp_datagrams.h"

using namespace corvesta;

namespace {

void Check(bool condition) {
  if (!condition) {
    std::abort();
  }
}

template <std::size_t N> void CheckTerminated(const char (&field)[N]) {
  Check(std::memchr(field, 0, N) != nullptr);
}

RequestTag FixedTag() {
  RequestTag tag;
  for (std::size_t i = 0; i < kRequestTagRandomBytes; ++i) {
    tag.bytes[i] = static_cast<std::uint8_t>(0xA1 + i);
  }
  return tag;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  static const RequestTag tag = FixedTag();
  const udp::Bytes datagram(data, size);

  if (const auto device = udp::ParseProbeReply(datagram, tag)) {
    Check(size >= udp::kReplyNameOffset);
    CheckTerminated(device->name);
    CheckTerminated(device->ip);
    CheckTerminated(device->netmask);
    CheckTerminated(device->gateway);
    CheckTerminated(device->dhcp);
    CheckTerminated(device->extra_text);
    CheckTerminated(device->mac);
    Check(std::strlen(device->mac) == 17);
  }

  if (const auto reply = udp::ParseCredReply(datagram, tag)) {
    Check(size > udp::kCredReplyVerdictOffset);
    CheckTerminated(reply->ip);
    Check(reply->verdict == data[udp::kCredReplyVerdictOffset]);
  }

  const udp::SetAddressReply kind = udp::ClassifySetAddressReply(datagram, tag);
  if (kind == udp::SetAddressReply::Acknowledged) {
    Check(udp::HasHead(datagram, box::kCodeSetAddressReply, tag));
  } else if (kind == udp::SetAddressReply::StaleTag) {
    Check(size > 0 && data[0] == box::kCodeSetAddressReply &&
          !udp::HasHead(datagram, box::kCodeSetAddressReply, tag));
  }
  return 0;
}
