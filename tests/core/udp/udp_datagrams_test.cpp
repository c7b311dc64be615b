#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "nas/udp/udp_datagrams.h"
#include "platform/text_codec.h"

using namespace corvesta;
using namespace corvesta::udp;

namespace {

RequestTag Tag(std::uint8_t first) {
  RequestTag tag;
  for (std::size_t i = 0; i < kRequestTagRandomBytes; ++i) {
    tag.bytes[i] = static_cast<std::uint8_t>(first + i);
  }
  return tag;
}

constexpr std::uint8_t kWireId[kWireIdSize] = {0x00, 0x1a, 0x2b, 0x3c, 0x4d, 0x5e, 192, 168, 1, 77};

std::string Hex(const Datagram &bytes) {
  std::string out;
  char part[4];
  for (std::uint8_t b : bytes) {
    std::snprintf(part, sizeof part, "%02x", b);
    out += part;
  }
  return out;
}

// A well-formed probe reply; tests spoil one part of it.
struct ReplyBuilder {
  Datagram bytes = Datagram(kReplyNameOffset, 0);

  explicit ReplyBuilder(const RequestTag &tag, std::string_view name = "box-one") {
    bytes[0] = 0x08;
    std::memcpy(bytes.data() + 1, tag.bytes.data(), 6);
    std::memcpy(bytes.data() + 11, kWireId, kWireIdSize);
    bytes[21] = '1';
    Text(24, "255.255.255.0");
    Text(40, "192.168.1.1");
    bytes[56] = 0x00;
    bytes[57] = 0x0B;
    bytes[58] = 0x00;
    Text(68, "extra");
    Name(name);
  }
  void Text(std::size_t offset, std::string_view text) {
    std::memcpy(bytes.data() + offset, text.data(), text.size());
  }
  void Name(std::string_view name, std::uint32_t length) {
    bytes.resize(kReplyNameOffset);
    for (int i = 0; i < 4; ++i) {
      bytes[100 + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(length >> (8 * i));
    }
    bytes.insert(bytes.end(), name.begin(), name.end());
  }
  void Name(std::string_view name) { Name(name, static_cast<std::uint32_t>(name.size())); }
};

std::string Field(const char *field, std::size_t size) {
  return std::string(FieldText(field, size));
}

} // namespace

TEST(UdpDatagrams, ProbeIsCodeThenTag) {
  RequestTag tag = Tag(0xA0);
  EXPECT_EQ(Hex(BuildProbe(tag)), "01a0a1a2a3a4a500000000");
}

TEST(UdpDatagrams, CredCheckLayout) {
  Datagram d = BuildCredCheck(Tag(0x10), kWireId, "admin", "pw");
  ASSERT_EQ(d.size(), 28u + 5 + 2 + 2);
  EXPECT_EQ(Hex(d), "03"                   // code
                    "10111213141500000000" // tag
                    "001a2b3c4d5ec0a8014d" // wire id
                    "04"                   // constant
                    "0000"                 // zero
                    "09000000"             // u + p + 2, little-endian
                    "61646d696e"           // "admin"
                    "55aa"                 // separator
                    "7077");               // "pw"
}

TEST(UdpDatagrams, CredCheckWithSixteenByteUserAndPasswordIs62Bytes) {
  Datagram d = BuildCredCheck(Tag(1), kWireId, "abcdefghijklmnop", "ABCDEFGHIJKLMNOP");
  ASSERT_EQ(d.size(), 62u);
  EXPECT_EQ(d[24], 34);
  EXPECT_EQ(std::string(d.begin() + 28, d.begin() + 44), "abcdefghijklmnop");
  EXPECT_EQ(d[44], 0x55);
  EXPECT_EQ(d[45], 0xAA);
  EXPECT_EQ(std::string(d.begin() + 46, d.end()), "ABCDEFGHIJKLMNOP");
}

TEST(UdpDatagrams, CredCheckCutsLongTextsAtACharacterBoundary) {
  // 15 ASCII bytes and a two-byte character: the character does not fit.
  Datagram d = BuildCredCheck(Tag(1), kWireId, "abcdefghijklmno\xc3\xa9", "");
  EXPECT_EQ(d.size(), 28u + 15 + 2);
  EXPECT_EQ(d[24], 17);
}

TEST(UdpDatagrams, SetAddressCarriesTheBlockAndItsMaskAndGateway) {
  IpSettingBlock block = MakeIpSettingBlock("10.0.0.9", "255.0.0.0", "10.0.0.1", false);
  Datagram d = BuildSetAddress(Tag(0x30), kWireId, block);
  ASSERT_EQ(d.size(), 180u);
  EXPECT_EQ(d[0], 0x05);
  EXPECT_EQ(Hex(Datagram(d.begin() + 1, d.begin() + 21)), "30313233343500000000"
                                                          "001a2b3c4d5ec0a8014d");
  EXPECT_EQ(d[21], 0x15);
  EXPECT_EQ(d[22], 0);
  EXPECT_EQ(d[23], 0);
  EXPECT_EQ(std::memcmp(d.data() + 24, block.netmask, 16), 0);
  EXPECT_EQ(std::memcmp(d.data() + 40, block.gateway, 16), 0);
  EXPECT_EQ(Hex(Datagram(d.begin() + 56, d.begin() + 60)), "78000000");
  EXPECT_EQ(std::memcmp(d.data() + 60, &block, 120), 0);
  EXPECT_EQ(std::string(reinterpret_cast<const char *>(d.data() + 60)), "LAN1");
  EXPECT_EQ(std::string(reinterpret_cast<const char *>(d.data() + 70)), "10.0.0.9");
  EXPECT_EQ(d[60 + 58], '0');
  for (std::size_t i = 60 + 59; i < 180; ++i) {
    EXPECT_EQ(d[i], 0) << "byte " << i;
  }
}

TEST(UdpDatagrams, DhcpBlockStillCarriesItsTexts) {
  IpSettingBlock block = MakeIpSettingBlock("10.0.0.9", "255.0.0.0", "", true);
  Datagram d = BuildSetAddress(Tag(0x30), kWireId, block);
  EXPECT_EQ(d[60 + 58], '1');
  EXPECT_EQ(std::string(reinterpret_cast<const char *>(d.data() + 70)), "10.0.0.9");
  EXPECT_EQ(std::string(reinterpret_cast<const char *>(d.data() + 86)), "255.0.0.0");
  for (std::size_t i = 40; i < 56; ++i) {
    EXPECT_EQ(d[i], 0) << "no gateway: byte " << i;
  }
}

TEST(UdpDatagrams, ProbeReplyFillsEveryField) {
  RequestTag tag = Tag(0x40);
  ReplyBuilder reply(tag);
  reply.bytes[17] = 10;
  reply.bytes[18] = 1;
  reply.bytes[19] = 200;
  reply.bytes[20] = 3;
  auto device = ParseProbeReply(reply.bytes, tag);
  ASSERT_TRUE(device);
  EXPECT_EQ(Field(device->name, 256), "box-one");
  EXPECT_EQ(Field(device->ip, 16), "10.1.200.3");
  EXPECT_EQ(Field(device->netmask, 16), "255.255.255.0");
  EXPECT_EQ(Field(device->gateway, 16), "192.168.1.1");
  EXPECT_EQ(Field(device->dhcp, 8), "1");
  EXPECT_EQ(Field(device->extra_text, 32), "extra");
  EXPECT_EQ(Field(device->mac, 20), "00:1a:2b:3c:4d:5e");
  EXPECT_EQ(std::memcmp(device->wire_id, reply.bytes.data() + 11, 10), 0);
}

struct RejectCase {
  const char *what;
  void (*spoil)(ReplyBuilder &);
};

TEST(UdpDatagrams, ProbeRepliesThatAreIgnored) {
  const RejectCase cases[] = {
      {"wrong code", [](ReplyBuilder &r) { r.bytes[0] = 0x09; }},
      {"tag echo from another discovery", [](ReplyBuilder &r) { r.bytes[3] ^= 0xFF; }},
      {"model byte 56", [](ReplyBuilder &r) { r.bytes[56] = 1; }},
      {"model byte 57", [](ReplyBuilder &r) { r.bytes[57] = 0x0C; }},
      {"model byte 58", [](ReplyBuilder &r) { r.bytes[58] = 0x0B; }},
      {"shorter than the name length field", [](ReplyBuilder &r) { r.bytes.resize(103); }},
      {"name cut short", [](ReplyBuilder &r) { r.bytes.pop_back(); }},
      {"name length beyond any datagram", [](ReplyBuilder &r) { r.Name("x", 0xFFFFFFFFu); }},
      {"empty datagram", [](ReplyBuilder &r) { r.bytes.clear(); }},
  };
  RequestTag tag = Tag(0x40);
  for (const RejectCase &c : cases) {
    ReplyBuilder reply(tag);
    c.spoil(reply);
    EXPECT_FALSE(ParseProbeReply(reply.bytes, tag)) << c.what;
  }
}

TEST(UdpDatagrams, ProbeReplyBytesBeyondTheTagEchoAreNotCompared) {
  RequestTag tag = Tag(0x40);
  ReplyBuilder reply(tag);
  reply.bytes[7] = 0xEE; // tag bytes 6..9 are not echoed
  EXPECT_TRUE(ParseProbeReply(reply.bytes, tag));
}

struct NameCase {
  const char *what;
  std::string sent;
  std::string stored;
};

TEST(UdpDatagrams, ProbeReplyNamesAreTakenByLengthAndFitTheirField) {
  const NameCase cases[] = {
      {"empty", "", ""},
      {"zero byte inside ends the name", std::string("ab\0cd", 5), "ab"},
      {"255 bytes fit", std::string(255, 'n'), std::string(255, 'n')},
      {"longer than 255: cut and terminated", std::string(300, 'n'), std::string(255, 'n')},
      {"cut at a character boundary", std::string(254, 'n') + "\xc3\xa9", std::string(254, 'n')},
  };
  RequestTag tag = Tag(0x40);
  for (const NameCase &c : cases) {
    ReplyBuilder reply(tag, c.sent);
    auto device = ParseProbeReply(reply.bytes, tag);
    ASSERT_TRUE(device) << c.what;
    EXPECT_EQ(Field(device->name, 256), c.stored) << c.what;
    EXPECT_EQ(device->name[255], '\0') << c.what;
  }
}

TEST(UdpDatagrams, UnterminatedTextsAreCutToTheirFields) {
  RequestTag tag = Tag(0x40);
  ReplyBuilder reply(tag);
  reply.Text(24, "1111111111111111"); // 16 bytes, no terminator before the gateway
  reply.Text(40, "2222222222222222"); // 16 bytes, runs into the model bytes' field
  reply.Text(68, std::string(32, 'x'));
  reply.Name("n");
  auto device = ParseProbeReply(reply.bytes, tag);
  ASSERT_TRUE(device);
  EXPECT_EQ(Field(device->netmask, 16), std::string(15, '1'));
  EXPECT_EQ(Field(device->gateway, 16), std::string(15, '2'));
  EXPECT_EQ(Field(device->extra_text, 32), std::string(31, 'x'));
  EXPECT_EQ(Field(device->name, 256), "n");
}

TEST(UdpDatagrams, CredReply) {
  RequestTag tag = Tag(0x50);
  Datagram reply(29, 0);
  reply[0] = 0x04;
  std::memcpy(reply.data() + 1, tag.bytes.data(), 6);
  reply[17] = 127;
  reply[18] = 0;
  reply[19] = 0;
  reply[20] = 5;
  reply[28] = 1;
  auto parsed = ParseCredReply(reply, tag);
  ASSERT_TRUE(parsed);
  EXPECT_EQ(Field(parsed->ip, 16), "127.0.0.5");
  EXPECT_EQ(parsed->verdict, 1);

  reply[28] = 0;
  EXPECT_EQ(ParseCredReply(reply, tag)->verdict, 0);
  EXPECT_FALSE(ParseCredReply(Datagram(reply.begin(), reply.begin() + 28), tag))
      << "no verdict byte";
  EXPECT_FALSE(ParseCredReply(reply, Tag(0x51))) << "another tag";
  reply[0] = 0x06;
  EXPECT_FALSE(ParseCredReply(reply, tag)) << "another code";
}

TEST(UdpDatagrams, SetAddressReplyClasses) {
  RequestTag tag = Tag(0x60);
  Datagram ack(7, 0);
  ack[0] = 0x06;
  std::memcpy(ack.data() + 1, tag.bytes.data(), 6);
  EXPECT_EQ(ClassifySetAddressReply(ack, tag), SetAddressReply::Acknowledged);
  EXPECT_EQ(ClassifySetAddressReply(ack, Tag(0x61)), SetAddressReply::StaleTag);
  EXPECT_EQ(ClassifySetAddressReply(Datagram(ack.begin(), ack.begin() + 6), tag),
            SetAddressReply::Other);
  ack[0] = 0x04;
  EXPECT_EQ(ClassifySetAddressReply(ack, tag), SetAddressReply::Other);
}

TEST(UdpDatagrams, IpSettingBlockFieldsNeverOverrun) {
  IpSettingBlock block = MakeIpSettingBlock("255.255.255.2550", "x", "", false);
  EXPECT_EQ(Field(block.ip, 16), "255.255.255.255");
  EXPECT_EQ(block.ip[15], '\0');
  EXPECT_EQ(Field(block.interfaceName, 10), "LAN1");
}
