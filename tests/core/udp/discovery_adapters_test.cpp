// Discovery over two and three adapters with replies timed by the test.
//
// The test's namespace gets three veth adapters; their peers sit in a second
// namespace, from where a scripted box sends probe replies at set times
// through a chosen peer: to the group (heard by that adapter only) or by
// unicast to the adapter's address. All adapters are probed at once, yet the
// device list must be the one that probing them one after the other gives:
// each adapter's replies are recorded in the order it heard them, adapter
// after adapter in table order. The cases put the replies in the opposite
// order in time, where recording them as they arrive gives another list.
//
//   adapter A  10.71.0.1/24   peer 10.71.0.2/24
//   adapter B  10.72.0.1/24   peer 10.72.0.2/24
//   adapter C  10.71.5.1/16   peer 10.71.5.2/16   (A's subnet lies inside C's)

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <net/if.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <array>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "nas/device_list.h"
#include "nas/protocol_timing.h"
#include "nas/query.h"
#include "nas/udp/discovery.h"
#include "peer_namespace.h"
#include "platform/text_codec.h"
#include "udp_sim_helpers.h"
#include "worker/private_messages.h"

using namespace corvesta;
using namespace std::chrono_literals;

namespace {

using Clock = std::chrono::steady_clock;

struct Adapter {
  const char *name;
  const char *address;
  const char *peerName;
  const char *peerAddress;
  int prefix;
};

constexpr std::array<Adapter, 3> kAdapters = {{
    {"cvea", "10.71.0.1", "cveap", "10.71.0.2", 24},
    {"cveb", "10.72.0.1", "cvebp", "10.72.0.2", 24},
    {"cvec", "10.71.5.1", "cvecp", "10.71.5.2", 16},
}};

enum class Style { Group, Unicast };

// One reply of a box, sent `atMs` after the discovery started, through
// adapter `via` (0 = A, 1 = B, 2 = C).
struct TimedReply {
  int atMs;
  int via;
  Style style;
  int box; // the box's number: its hardware address ends in it
  const char *name;
  const char *ip;
  const char *netmask;
};

struct Listed {
  std::string name;
  std::string adapter; // the address of the adapter the box is reached through
  bool operator==(const Listed &) const = default;
};

std::ostream &operator<<(std::ostream &out, const Listed &listed) {
  return out << listed.name << "@" << listed.adapter;
}

std::string MacText(int box) {
  char text[20];
  std::snprintf(text, sizeof text, "02:00:00:00:07:%02x", box & 0xFF);
  return text;
}

void Put(std::vector<std::uint8_t> &bytes, std::size_t offset, std::string_view text) {
  std::memcpy(bytes.data() + offset, text.data(), text.size());
}

// A probe reply as a box sends it.
std::vector<std::uint8_t> ReplyBytes(const std::string &tag, const TimedReply &reply) {
  const std::string_view name = reply.name;
  std::vector<std::uint8_t> bytes(104 + name.size(), 0);
  bytes[0] = 0x08;
  Put(bytes, 1, tag.substr(0, 6));
  const std::uint8_t mac[6] = {0x02, 0, 0, 0, 0x07, static_cast<std::uint8_t>(reply.box)};
  std::memcpy(bytes.data() + 11, mac, 6);
  in_addr ip{};
  inet_pton(AF_INET, reply.ip, &ip);
  std::memcpy(bytes.data() + 17, &ip, 4); // network order: first octet first
  bytes[21] = '0';
  Put(bytes, 24, reply.netmask);
  bytes[57] = 0x0B;
  const auto length = static_cast<std::uint32_t>(name.size());
  for (int i = 0; i < 4; ++i) {
    bytes[100 + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(length >> (8 * i));
  }
  Put(bytes, 104, name);
  return bytes;
}

std::vector<Listed> ListedBoxes() {
  std::vector<Listed> listed;
  const AdapterTable table = CurrentAdapterTable();
  for (const NasDevice &device : DeviceList::Instance().Snapshot()) {
    std::string adapter = "?";
    if (device.adapter >= 0 && static_cast<std::uint32_t>(device.adapter) < table.count) {
      adapter = FieldText(table.adapters[device.adapter].address,
                          sizeof table.adapters[device.adapter].address);
    }
    listed.push_back({std::string(FieldText(device.name, sizeof device.name)), adapter});
  }
  return listed;
}

// Starts a discovery, sends `replies` at their times through the peer socket
// `peers[via]` (to the group, or to `addresses[via]`) and returns the list
// once the discovery has reported.
std::vector<Listed> DiscoverWithReplies(const std::vector<int> &peers,
                                        const std::vector<const char *> &addresses,
                                        const std::vector<TimedReply> &replies,
                                        DiscoveryTarget target = {}) {
  MessageQueueTarget window;
  const Ticket ticket = StartDiscovery(window.Handle(), std::move(target));
  EXPECT_NE(ticket, 0u);
  const Clock::time_point start = Clock::now();
  const std::string tag = test::CurrentTagBytes();
  std::thread box([&] {
    for (const TimedReply &reply : replies) {
      std::this_thread::sleep_until(start + std::chrono::milliseconds(reply.atMs));
      const std::vector<std::uint8_t> bytes = ReplyBytes(tag, reply);
      sockaddr_in to{};
      to.sin_family = AF_INET;
      to.sin_port = htons(13579);
      inet_pton(AF_INET, reply.style == Style::Group ? "224.0.0.1" : addresses.at(reply.via),
                &to.sin_addr);
      sendto(peers.at(reply.via), bytes.data(), bytes.size(), 0,
             reinterpret_cast<const sockaddr *>(&to), sizeof to);
    }
  });
  auto message = window.WaitForMessage(WM_QUERY_RESULT, 20s);
  box.join();
  EXPECT_TRUE(message.has_value());
  if (message) {
    EXPECT_EQ(message->wParam, kResultSuccess);
    auto query = TakeQuery(*message);
    EXPECT_TRUE(query && query->ticket == ticket);
  }
  return ListedBoxes();
}

// A socket in the peer namespace on `address`, sending to the group through
// the interface `name`; -1 when it cannot be made.
int PeerSocket(const char *address, const char *name) {
  const int fd = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
  sockaddr_in local{};
  local.sin_family = AF_INET;
  inet_pton(AF_INET, address, &local.sin_addr);
  ip_mreqn outgoing{};
  outgoing.imr_ifindex = static_cast<int>(if_nametoindex(name));
  const unsigned char loopOff = 0;
  const bool made = fd >= 0 && outgoing.imr_ifindex > 0 &&
                    bind(fd, reinterpret_cast<const sockaddr *>(&local), sizeof local) == 0 &&
                    setsockopt(fd, IPPROTO_IP, IP_MULTICAST_IF, &outgoing, sizeof outgoing) == 0 &&
                    setsockopt(fd, IPPROTO_IP, IP_MULTICAST_LOOP, &loopOff, sizeof loopOff) == 0;
  if (!made && fd >= 0) {
    close(fd);
    return -1;
  }
  return fd;
}

// Three veth adapters in the test's namespace (the loopback adapter left
// out) and the scripted box behind their peers.
class DiscoveryAdaptersTest : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(m_lan.Valid());
    const std::string pid = std::to_string(m_lan.Pid());
    for (const Adapter &adapter : kAdapters) {
      const std::string prefix = "/" + std::to_string(adapter.prefix);
      ASSERT_TRUE(test::Shell(std::string("ip link add ") + adapter.name + " type veth peer name " +
                              adapter.peerName + " netns " + pid));
      ASSERT_TRUE(test::Shell(std::string("ip addr add ") + adapter.address + prefix + " dev " +
                              adapter.name + " && ip link set " + adapter.name + " up"));
      ASSERT_TRUE(m_lan.Run(std::string("ip addr add ") + adapter.peerAddress + prefix + " dev " +
                            adapter.peerName + " && ip link set " + adapter.peerName + " up"));
    }
    ASSERT_TRUE(test::Shell("ip link set lo multicast off"));
    m_loopbackOff = true;
    // The peers' sockets live in the second namespace.
    bool made = false;
    ASSERT_TRUE(m_lan.RunInside([&] {
      made = true;
      for (std::size_t i = 0; i < kAdapters.size(); ++i) {
        m_peerSockets[i] = PeerSocket(kAdapters[i].peerAddress, kAdapters[i].peerName);
        made = made && m_peerSockets[i] >= 0;
      }
    }));
    ASSERT_TRUE(made);
  }

  void TearDown() override {
    for (int fd : m_peerSockets) {
      if (fd >= 0) {
        close(fd);
      }
    }
    if (m_loopbackOff) {
      test::Shell("ip link set lo multicast on");
    }
    for (const Adapter &adapter : kAdapters) {
      test::Shell(std::string("ip link del ") + adapter.name);
    }
  }

  // Leaves only the first `count` adapters up.
  void UseAdapters(std::size_t count) {
    for (std::size_t i = 0; i < kAdapters.size(); ++i) {
      ASSERT_TRUE(test::Shell(std::string("ip link set ") + kAdapters[i].name +
                              (i < count ? " up" : " down")));
    }
  }

  std::vector<Listed> DiscoverWith(const std::vector<TimedReply> &replies,
                                   DiscoveryTarget target = {}) {
    std::vector<const char *> addresses;
    for (const Adapter &adapter : kAdapters) {
      addresses.push_back(adapter.address);
    }
    return DiscoverWithReplies({m_peerSockets.begin(), m_peerSockets.end()}, addresses, replies,
                               std::move(target));
  }

  // The adapter table must list the adapters as made, in that order.
  void ExpectTableOf(std::size_t count) {
    const AdapterTable table = CurrentAdapterTable();
    ASSERT_EQ(table.count, count);
    for (std::size_t i = 0; i < count; ++i) {
      EXPECT_STREQ(table.adapters[i].address, kAdapters[i].address);
    }
  }

  test::PeerNamespace m_lan;
  std::array<int, 3> m_peerSockets = {-1, -1, -1};
  bool m_loopbackOff = false;
};

struct EquivalenceCase {
  const char *what;
  std::size_t adapters;
  std::vector<TimedReply> replies; // in order of time
  std::vector<Listed> expected;    // what probing one adapter after the other gives
};

constexpr const char *A = "10.71.0.1";
constexpr const char *B = "10.72.0.1";
constexpr const char *C = "10.71.5.1";
constexpr const char *kMask24 = "255.255.255.0";

// Times are for waits at half their length: every adapter's waits end about
// 1.1 s after its probe.
TEST_F(DiscoveryAdaptersTest, TheListIsTheOneOfAdaptersProbedOneAfterTheOther) {
  const EquivalenceCase cases[] = {
      {"boxes heard first through the second adapter are listed after the first adapter's",
       2,
       {{50, 1, Style::Group, 1, "on-b", "10.72.0.50", kMask24},
        {150, 1, Style::Unicast, 2, "on-b-unicast", "10.72.0.51", kMask24},
        {300, 0, Style::Group, 3, "on-a", "10.71.0.50", kMask24}},
       {{"on-a", A}, {"on-b", B}, {"on-b-unicast", B}}},
      {"a box in neither subnet keeps the first adapter in table order, not in time",
       2,
       {{50, 1, Style::Group, 4, "stray", "10.99.0.50", kMask24},
        {300, 0, Style::Unicast, 4, "stray", "10.99.0.50", kMask24}},
       {{"stray", A}}},
      {"a box in the second adapter's subnet takes it, whichever adapter heard it first",
       2,
       {{50, 1, Style::Group, 5, "home-b", "10.72.0.60", kMask24},
        {300, 0, Style::Group, 5, "home-b", "10.72.0.60", kMask24}},
       {{"home-b", B}}},
      {"a box whose replies differ keeps what the first adapter in table order heard",
       2,
       {{50, 1, Style::Group, 6, "name-via-b", "10.72.0.70", kMask24},
        {300, 0, Style::Group, 6, "name-via-a", "10.72.0.70", kMask24}},
       {{"name-via-a", B}}},
      {"a reply after its adapter's waits is not read",
       2,
       {{100, 1, Style::Group, 7, "in-time", "10.72.0.80", kMask24},
        {1700, 0, Style::Group, 8, "too-late", "10.71.0.80", kMask24}},
       {{"in-time", B}}},
      {"three adapters: each adapter's boxes in its turn, against the order of time",
       3,
       {{50, 2, Style::Group, 9, "on-c", "10.71.9.9", "255.255.0.0"},
        {150, 1, Style::Unicast, 10, "on-b", "10.72.0.90", kMask24},
        {300, 0, Style::Group, 11, "on-a", "10.71.0.90", kMask24},
        {400, 2, Style::Unicast, 12, "on-c-2", "10.71.9.10", "255.255.0.0"}},
       {{"on-a", A}, {"on-b", B}, {"on-c", C}, {"on-c-2", C}}},
      {"three adapters: a box in the first and third adapters' subnets takes the third",
       3,
       {{50, 2, Style::Group, 13, "shared", "10.71.0.70", kMask24},
        {150, 1, Style::Group, 13, "shared", "10.71.0.70", kMask24},
        {300, 0, Style::Group, 13, "shared", "10.71.0.70", kMask24}},
       {{"shared", C}}},
      {"three adapters: a box heard only through the last adapters is listed after the "
       "first adapter's and keeps the second",
       3,
       {{50, 2, Style::Group, 14, "late-joiner", "10.99.1.1", kMask24},
        {150, 1, Style::Group, 14, "late-joiner", "10.99.1.1", kMask24},
        {300, 0, Style::Group, 15, "first", "10.71.0.15", kMask24}},
       {{"first", A}, {"late-joiner", B}}},
  };
  timing::ScopedTimeScale faster(0.5);
  for (const EquivalenceCase &c : cases) {
    SCOPED_TRACE(c.what);
    UseAdapters(c.adapters);
    const std::vector<Listed> listed = DiscoverWith(c.replies);
    ExpectTableOf(c.adapters);
    EXPECT_EQ(listed, c.expected);
  }
}

// A discovery for one box ends one wait after that box first answered: its
// replies through the other adapters within that wait still count, a box
// answering later is not heard. When the box never answers, every adapter's
// waits run their full course.
struct TargetCase {
  const char *what;
  int target; // the box number the discovery is for
  std::vector<TimedReply> replies;
  std::vector<Listed> expected;
};

TEST_F(DiscoveryAdaptersTest, ADiscoveryForOneBoxEndsSoonAfterItAnswered) {
  const TargetCase cases[] = {
      {"the box's reply through the first adapter within the grace decides its adapter",
       20,
       {{100, 1, Style::Group, 20, "wanted", "10.99.2.2", kMask24},
        {110, 0, Style::Group, 20, "wanted", "10.99.2.2", kMask24},
        {900, 0, Style::Group, 21, "after-the-end", "10.71.0.21", kMask24}},
       {{"wanted", A}}},
      {"boxes heard before the wanted one stay listed in adapter order",
       22,
       {{50, 1, Style::Group, 23, "earlier", "10.72.0.23", kMask24},
        {100, 0, Style::Unicast, 22, "wanted", "10.71.0.22", kMask24},
        {900, 1, Style::Group, 24, "after-the-end", "10.72.0.24", kMask24}},
       {{"wanted", A}, {"earlier", B}}},
      {"a box that never answers leaves the full waits",
       30,
       {{100, 1, Style::Group, 25, "other", "10.72.0.25", kMask24},
        {1500, 0, Style::Group, 26, "slow", "10.71.0.26", kMask24}},
       {{"slow", A}, {"other", B}}},
  };
  UseAdapters(2);
  for (const TargetCase &c : cases) {
    SCOPED_TRACE(c.what);
    const std::string mac = MacText(c.target);
    DiscoveryTarget target{
        [mac](const NasDevice &device) { return FieldText(device.mac, sizeof device.mac) == mac; }};
    const std::vector<Listed> listed = DiscoverWith(c.replies, target);
    ExpectTableOf(2);
    EXPECT_EQ(listed, c.expected);
  }
}

// A developer's PC: eight container bridges made before the LAN's card, so
// the card comes ninth in the system's order. With eight places in the
// probe's table the card once never got one and its box was never found.
class DiscoveryBehindBridgesTest : public ::testing::Test {
protected:
  static constexpr int kBridges = 8;

  void SetUp() override {
    ASSERT_TRUE(m_lan.Valid());
    ASSERT_TRUE(test::Shell("ip link set lo multicast off"));
    m_loopbackOff = true;
    for (int i = 0; i < kBridges; ++i) {
      const std::string name = "br-cv" + std::to_string(i);
      ASSERT_TRUE(test::Shell("ip link add " + name + " type bridge"));
      m_bridges.push_back(name);
      ASSERT_TRUE(test::Shell("ip addr add 10.80." + std::to_string(i) + ".1/24 dev " + name +
                              " && ip link set " + name + " up"));
    }
    ASSERT_TRUE(test::Shell("ip link add cvlan type veth peer name cvlanp netns " +
                            std::to_string(m_lan.Pid())));
    m_card = true;
    ASSERT_TRUE(test::Shell("ip addr add 10.81.0.1/24 dev cvlan && ip link set cvlan up"));
    ASSERT_TRUE(m_lan.Run("ip addr add 10.81.0.2/24 dev cvlanp && ip link set cvlanp up"));
    ASSERT_TRUE(m_lan.RunInside([&] { m_peer = PeerSocket("10.81.0.2", "cvlanp"); }));
    ASSERT_GE(m_peer, 0);
  }

  void TearDown() override {
    if (m_peer >= 0) {
      close(m_peer);
    }
    if (m_loopbackOff) {
      test::Shell("ip link set lo multicast on");
    }
    for (const std::string &bridge : m_bridges) {
      test::Shell("ip link del " + bridge);
    }
    if (m_card) {
      test::Shell("ip link del cvlan");
    }
  }

  test::PeerNamespace m_lan;
  std::vector<std::string> m_bridges;
  bool m_card = false;
  bool m_loopbackOff = false;
  int m_peer = -1;
};

TEST_F(DiscoveryBehindBridgesTest, TheCardOnTheNinthPlaceIsProbedAndItsBoxFound) {
  timing::ScopedTimeScale faster(0.5);
  const std::vector<Listed> listed =
      DiscoverWithReplies({m_peer}, {"10.81.0.1"},
                          {{100, 0, Style::Group, 40, "behind-bridges", "10.81.0.40", kMask24},
                           {400, 0, Style::Group, 40, "behind-bridges", "10.81.0.40", kMask24}});
  EXPECT_EQ(listed, (std::vector<Listed>{{"behind-bridges", "10.81.0.1"}}));
  // The card first, then the first seven bridges in the system's order.
  const AdapterTable table = CurrentAdapterTable();
  ASSERT_EQ(table.count, kMaxAdapters);
  EXPECT_STREQ(table.adapters[0].address, "10.81.0.1");
  for (std::size_t i = 1; i < kMaxAdapters; ++i) {
    EXPECT_EQ(std::string(table.adapters[i].address), "10.80." + std::to_string(i - 1) + ".1");
  }
}

} // namespace
