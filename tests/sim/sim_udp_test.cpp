// nas-sim's UDP service: discovery, credential check and address change, as
// a client sees them on the wire.

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "sim_test_sockets.h"
#include "support/nas_sim_process.h"

namespace corvesta::test {
namespace {

using namespace std::chrono_literals;

constexpr auto kReplyWindow = 400ms;

nlohmann::json ThreeBoxes() {
  nlohmann::json a = NasSimProcess::MakeBox("ALPHA", "127.0.0.2", "00:11:22:33:44:01", "secret");
  a["extra_text"] = "KS-310";
  a["accounts"].push_back({{"user", "bob"}, {"password", "b0b&=x"}, {"access", "1,0,1,0,1,0"}});
  nlohmann::json b = NasSimProcess::MakeBox("BETA", "127.0.0.3", "00:11:22:33:44:02");
  b["dhcp"] = true;
  b["gateway"] = "";
  nlohmann::json c = NasSimProcess::MakeBox("GAMMA", "127.0.0.4", "00:11:22:33:44:03");
  return NasSimProcess::MakeState({a, b, c});
}

std::uint32_t U32At(const std::string &bytes, std::size_t offset) {
  std::uint32_t value = 0;
  for (std::size_t i = 0; i < 4; ++i) {
    value |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[offset + i])) << (8 * i);
  }
  return value;
}

std::string TextAt(const std::string &bytes, std::size_t offset, std::size_t size) {
  const std::string field = bytes.substr(offset, size);
  return field.substr(0, field.find('\0'));
}

std::string NameOf(const Datagram &reply) {
  return reply.bytes.substr(104, U32At(reply.bytes, 100));
}

class SimUdpTest : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(client.Ok());
    ASSERT_TRUE(sim.Start(ThreeBoxes())) << sim.Error();
  }
  // nas-sim ends cleanly: no crash, no sanitizer report.
  void TearDown() override {
    sim.Stop();
    EXPECT_EQ(sim.ExitStatus(), 0) << sim.Stderr();
  }

  std::vector<Datagram> ProbeReplies(std::uint8_t seed) {
    EXPECT_TRUE(client.Send(Probe(Tag(seed))));
    return client.Receive(kReplyWindow);
  }

  DatagramClient client;
  NasSimProcess sim;
};

TEST_F(SimUdpTest, ProbeGetsOneReplyPerBoxWithItsSettings) {
  const std::string tag = Tag(7);
  ASSERT_TRUE(client.Send(Probe(tag)));
  const auto replies = client.Receive(kReplyWindow);
  ASSERT_EQ(replies.size(), 3u);
  std::map<std::string, Datagram> byName;
  for (const Datagram &reply : replies) {
    ASSERT_GE(reply.bytes.size(), 104u);
    EXPECT_EQ(reply.bytes[0], '\x08');
    EXPECT_EQ(reply.bytes.substr(1, 6), tag.substr(0, 6));
    EXPECT_EQ(reply.bytes.substr(56, 3), std::string("\x00\x0B\x00", 3));
    EXPECT_FALSE(reply.unicast);
    byName[NameOf(reply)] = reply;
  }
  ASSERT_EQ(byName.count("ALPHA"), 1u);
  const Datagram &alpha = byName["ALPHA"];
  EXPECT_EQ(alpha.from, "127.0.0.2:13579");
  EXPECT_EQ(alpha.bytes.substr(11, 10), WireIdOf("00:11:22:33:44:01", "127.0.0.2"));
  EXPECT_EQ(alpha.bytes[21], '0');
  EXPECT_EQ(TextAt(alpha.bytes, 24, 16), "255.0.0.0");
  EXPECT_EQ(TextAt(alpha.bytes, 40, 16), "127.0.0.1");
  EXPECT_EQ(TextAt(alpha.bytes, 68, 32), "KS-310");
  EXPECT_EQ(alpha.bytes.size(), 104u + 5u);
  ASSERT_EQ(byName.count("BETA"), 1u);
  EXPECT_EQ(byName["BETA"].bytes[21], '1');
  EXPECT_EQ(TextAt(byName["BETA"].bytes, 40, 16), "");
}

TEST_F(SimUdpTest, ProbeToOneBoxAddressGetsOnlyThatBox) {
  ASSERT_TRUE(client.Send(Probe(Tag(9)), "127.0.0.3"));
  const auto replies = client.Receive(kReplyWindow);
  ASSERT_EQ(replies.size(), 1u);
  EXPECT_EQ(NameOf(replies[0]), "BETA");
}

struct ProbeFaultCase {
  const char *name;
  nlohmann::json udp;
  int repliesFromGamma;
  bool unicast;
  bool staleTag;
  bool wrongModel;
};

TEST_F(SimUdpTest, ProbeFaultsChangeOnlyThatBoxsReply) {
  const ProbeFaultCase cases[] = {
      {"silent", {{"probe", {{"silent", true}}}}, 0, false, false, false},
      {"silent for all requests", {{"*", {{"silent", true}}}}, 0, false, false, false},
      {"unicast", {{"probe", {{"unicast", true}}}}, 1, true, false, false},
      {"stale tag", {{"probe", {{"stale_tag", true}}}}, 1, false, true, false},
      {"wrong model", {{"probe", {{"wrong_model", true}}}}, 1, false, false, true},
      {"a credential fault leaves probes alone",
       {{"cred_check", {{"silent", true}}}},
       1,
       false,
       false,
       false},
  };
  std::uint8_t seed = 20;
  for (const ProbeFaultCase &c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_TRUE(sim.SetFaults("GAMMA", {{"udp", c.udp}})) << sim.Error();
    const std::string tag = Tag(++seed);
    ASSERT_TRUE(client.Send(Probe(tag)));
    const auto replies = client.Receive(kReplyWindow);
    EXPECT_EQ(replies.size(), 2u + static_cast<std::size_t>(c.repliesFromGamma));
    for (const Datagram &reply : replies) {
      const bool gamma = NameOf(reply) == "GAMMA";
      EXPECT_EQ(reply.unicast, gamma && c.unicast);
      EXPECT_EQ(reply.bytes.substr(1, 6) != tag.substr(0, 6), gamma && c.staleTag);
      EXPECT_EQ(reply.bytes.substr(56, 3) != std::string("\x00\x0B\x00", 3), gamma && c.wrongModel);
    }
  }
}

TEST_F(SimUdpTest, DelayedProbeReplyArrivesLate) {
  ASSERT_TRUE(sim.SetFaults("GAMMA", {{"udp", {{"probe", {{"delay_ms", 700}}}}}}));
  ASSERT_TRUE(client.Send(Probe(Tag(40))));
  EXPECT_EQ(client.Receive(kReplyWindow).size(), 2u);
  const auto late = client.Receive(800ms);
  ASSERT_EQ(late.size(), 1u);
  EXPECT_EQ(NameOf(late[0]), "GAMMA");
}

struct CredentialCase {
  const char *user;
  const char *password;
  bool accepted;
};

TEST_F(SimUdpTest, CredentialCheckAnswersWithTheBoxsAddressAndVerdict) {
  const CredentialCase cases[] = {
      {"admin", "secret", true},  {"bob", "b0b&=x", true},     {"admin", "wrong", false},
      {"admin", "", false},       {"nobody", "secret", false}, {"bob", "secret", false},
      {"ADMIN", "secret", false},
  };
  const std::string wireId = WireIdOf("00:11:22:33:44:01", "127.0.0.2");
  std::uint8_t seed = 50;
  for (const CredentialCase &c : cases) {
    SCOPED_TRACE(std::string(c.user) + "/" + c.password);
    const std::string tag = Tag(++seed);
    ASSERT_TRUE(client.Send(CredCheck(tag, wireId, c.user, c.password)));
    const auto replies = client.Receive(kReplyWindow);
    ASSERT_EQ(replies.size(), 1u);
    const std::string &reply = replies[0].bytes;
    ASSERT_GE(reply.size(), 29u);
    EXPECT_EQ(reply[0], '\x04');
    EXPECT_EQ(reply.substr(1, 6), tag.substr(0, 6));
    EXPECT_EQ(reply.substr(17, 4), std::string("\x7F\x00\x00\x02", 4));
    EXPECT_EQ(reply[28] != 0, c.accepted);
  }
}

TEST_F(SimUdpTest, CredentialCheckForAnotherWireIdGetsNoAnswer) {
  // The right hardware address with an old IPv4 address is another wire id.
  ASSERT_TRUE(client.Send(
      CredCheck(Tag(60), WireIdOf("00:11:22:33:44:01", "127.0.0.9"), "admin", "secret")));
  EXPECT_TRUE(client.Receive(kReplyWindow).empty());
}

TEST_F(SimUdpTest, MalformedCredentialChecksAreIgnored) {
  const std::string wireId = WireIdOf("00:11:22:33:44:01", "127.0.0.2");
  std::string wrongLength = CredCheck(Tag(61), wireId, "admin", "secret");
  wrongLength[24] = 3;
  std::string noSeparator = CredCheck(Tag(62), wireId, "admin", "secret");
  noSeparator.replace(28 + 5, 2, "--");
  std::string wrongMarker = CredCheck(Tag(63), wireId, "admin", "secret");
  wrongMarker[21] = 0x05;
  for (const std::string &datagram : {wrongLength, noSeparator, wrongMarker}) {
    ASSERT_TRUE(client.Send(datagram));
  }
  EXPECT_TRUE(client.Receive(kReplyWindow).empty());
}

TEST_F(SimUdpTest, RefusedCredentialsFaultRefusesTheRightPassword) {
  ASSERT_TRUE(sim.SetFaults("ALPHA", {{"refuse_credentials", true}}));
  ASSERT_TRUE(client.Send(
      CredCheck(Tag(64), WireIdOf("00:11:22:33:44:01", "127.0.0.2"), "admin", "secret")));
  const auto replies = client.Receive(kReplyWindow);
  ASSERT_EQ(replies.size(), 1u);
  EXPECT_EQ(replies[0].bytes[28], 0);
}

TEST_F(SimUdpTest, AddressChangeIsAcknowledgedAndMovesTheBox) {
  const std::string tag = Tag(70);
  ASSERT_TRUE(client.Send(SetAddress(tag, WireIdOf("00:11:22:33:44:03", "127.0.0.4"), "127.0.0.40",
                                     "255.255.0.0", "127.0.0.1", false)));
  const auto replies = client.Receive(kReplyWindow);
  ASSERT_EQ(replies.size(), 1u);
  EXPECT_EQ(replies[0].bytes[0], '\x06');
  EXPECT_EQ(replies[0].bytes.substr(1, 6), tag.substr(0, 6));

  // The web service and the UDP service follow the box to its new address.
  EXPECT_TRUE(ConnectionRefused("127.0.0.4"));
  EXPECT_FALSE(ConnectionRefused("127.0.0.40"));
  const auto probe = ProbeReplies(71);
  const auto gamma = std::find_if(probe.begin(), probe.end(),
                                  [](const Datagram &d) { return NameOf(d) == "GAMMA"; });
  ASSERT_NE(gamma, probe.end());
  EXPECT_EQ(gamma->from, "127.0.0.40:13579");
  EXPECT_EQ(gamma->bytes.substr(11, 10), WireIdOf("00:11:22:33:44:03", "127.0.0.40"));
  EXPECT_EQ(TextAt(gamma->bytes, 24, 16), "255.255.0.0");
  const auto state = sim.Box("GAMMA");
  ASSERT_TRUE(state);
  EXPECT_EQ((*state)["ip"], "127.0.0.40");
  EXPECT_EQ((*state)["netmask"], "255.255.0.0");
}

TEST_F(SimUdpTest, AddressChangeWithoutAcknowledgementStillMovesTheBox) {
  ASSERT_TRUE(sim.SetFaults("GAMMA", {{"no_address_ack", true}}));
  ASSERT_TRUE(client.Send(SetAddress(Tag(72), WireIdOf("00:11:22:33:44:03", "127.0.0.4"),
                                     "127.0.0.41", "255.0.0.0", "", false)));
  EXPECT_TRUE(client.Receive(kReplyWindow).empty());
  EXPECT_FALSE(ConnectionRefused("127.0.0.41"));
}

TEST_F(SimUdpTest, AddressChangeToAnotherBoxsAddressIsRefused) {
  ASSERT_TRUE(client.Send(SetAddress(Tag(73), WireIdOf("00:11:22:33:44:03", "127.0.0.4"),
                                     "127.0.0.2", "255.0.0.0", "", false)));
  EXPECT_TRUE(client.Receive(kReplyWindow).empty());
  const auto state = sim.Box("GAMMA");
  ASSERT_TRUE(state);
  EXPECT_EQ((*state)["ip"], "127.0.0.4");
}

TEST_F(SimUdpTest, RequestLogHoldsTheExactBytes) {
  const std::string datagram =
      CredCheck(Tag(80), WireIdOf("00:11:22:33:44:01", "127.0.0.2"), "bob", "b0b&=x");
  ASSERT_TRUE(client.Send(datagram));
  const auto logged = sim.WaitForRequest(
      [&](const SimRequest &r) { return r.transport == "udp" && r.bytes == datagram; }, 2s);
  ASSERT_TRUE(logged);
  EXPECT_EQ(logged->box, "ALPHA");
  EXPECT_EQ(logged->local, "224.0.0.1:13579");
  EXPECT_EQ(logged->peer.rfind("127.0.0.1:", 0), 0u);
}

} // namespace
} // namespace corvesta::test
