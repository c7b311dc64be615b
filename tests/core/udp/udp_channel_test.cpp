// The receive sockets of a query see the datagrams for the protocol port
// that arrive on their own adapter, sent to the adapter's address or to the
// group, and nothing that arrives on another adapter.
#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "nas/udp/adapter_table.h"
#include "nas/udp/udp_channel.h"
#include "peer_namespace.h"
#include "support/temp_folder.h"

using namespace corvesta;
using namespace std::chrono_literals;
using corvesta::test::PeerNamespace;
using corvesta::test::Shell;

namespace {

// Sends one datagram from `from` to `to`:13579; a group destination leaves
// through the interface that holds `from`.
bool SendFrom(const char *from, const char *to, const std::string &payload) {
  UniqueFd fd(socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0));
  sockaddr_in local{};
  local.sin_family = AF_INET;
  inet_pton(AF_INET, from, &local.sin_addr);
  if (!fd || bind(fd.Get(), reinterpret_cast<sockaddr *>(&local), sizeof local) != 0) {
    return false;
  }
  setsockopt(fd.Get(), IPPROTO_IP, IP_MULTICAST_IF, &local.sin_addr, sizeof local.sin_addr);
  sockaddr_in destination{};
  destination.sin_family = AF_INET;
  destination.sin_port = htons(13579);
  inet_pton(AF_INET, to, &destination.sin_addr);
  return sendto(fd.Get(), payload.data(), payload.size(), 0,
                reinterpret_cast<sockaddr *>(&destination),
                sizeof destination) == static_cast<ssize_t>(payload.size());
}

// Every datagram that arrives within `quiet` of the previous one.
std::vector<std::string> Drain(UdpChannel &channel, std::chrono::milliseconds quiet = 300ms) {
  std::vector<std::string> got;
  std::vector<std::uint8_t> buffer(4096);
  std::size_t length = 0;
  while (channel.Receive(buffer, length, quiet) == UdpChannel::Wait::Datagram) {
    got.emplace_back(reinterpret_cast<const char *>(buffer.data()), length);
  }
  return got;
}

const AdapterEntry *FindAdapter(const AdapterTable &table, const char *address) {
  for (std::uint32_t i = 0; i < table.count; ++i) {
    if (std::strcmp(table.adapters[i].address, address) == 0) {
      return &table.adapters[i];
    }
  }
  return nullptr;
}

} // namespace

TEST(UdpChannel, SeesUnicastAndGroupDatagramsOnItsAdapter) {
  AdapterTable table = BuildAdapterTable(ListNetworkAdapters());
  const AdapterEntry *loopback = FindAdapter(table, "127.0.0.1");
  ASSERT_NE(loopback, nullptr) << "the test namespace's loopback carries multicast";
  UdpChannel channel;
  ASSERT_TRUE(channel.Open(*loopback));
  ASSERT_TRUE(SendFrom("127.0.0.9", "127.0.0.1", "to the adapter"));
  ASSERT_TRUE(SendFrom("127.0.0.9", "224.0.0.1", "to the group"));
  std::vector<std::string> got = Drain(channel);
  EXPECT_EQ(got.size(), 2u);
  EXPECT_NE(std::find(got.begin(), got.end(), "to the adapter"), got.end());
  EXPECT_NE(std::find(got.begin(), got.end(), "to the group"), got.end());
}

TEST(UdpChannel, SendsToTheGroupThroughItsAdapter) {
  AdapterTable table = BuildAdapterTable(ListNetworkAdapters());
  const AdapterEntry *loopback = FindAdapter(table, "127.0.0.1");
  ASSERT_NE(loopback, nullptr);
  // A listener like a box's: the group joined on loopback.
  UniqueFd listener(socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0));
  const int on = 1;
  setsockopt(listener.Get(), SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
  sockaddr_in bound{};
  bound.sin_family = AF_INET;
  bound.sin_port = htons(13579);
  inet_pton(AF_INET, "224.0.0.1", &bound.sin_addr);
  ASSERT_EQ(bind(listener.Get(), reinterpret_cast<sockaddr *>(&bound), sizeof bound), 0);
  ip_mreqn join{};
  join.imr_multiaddr = bound.sin_addr;
  inet_pton(AF_INET, "127.0.0.1", &join.imr_address);
  ASSERT_EQ(setsockopt(listener.Get(), IPPROTO_IP, IP_ADD_MEMBERSHIP, &join, sizeof join), 0);
  timeval limit{2, 0};
  setsockopt(listener.Get(), SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);

  UdpChannel channel;
  ASSERT_TRUE(channel.Open(*loopback));
  const std::uint8_t probe[] = {1, 2, 3};
  ASSERT_TRUE(channel.Send(probe));
  char buffer[16];
  sockaddr_in sender{};
  socklen_t senderSize = sizeof sender;
  ssize_t got = recvfrom(listener.Get(), buffer, sizeof buffer, 0,
                         reinterpret_cast<sockaddr *>(&sender), &senderSize);
  ASSERT_EQ(got, 3);
  char from[INET_ADDRSTRLEN];
  inet_ntop(AF_INET, &sender.sin_addr, from, sizeof from);
  EXPECT_STREQ(from, "127.0.0.1") << "sent from the adapter's own address";
}

// Two adapters: loopback and a veth whose peer lives in a second namespace.
// A group datagram arriving on the veth reaches only the veth's channel; a
// group datagram on loopback reaches only loopback's.
TEST(UdpChannel, NothingFromAnotherAdapter) {
  PeerNamespace peer;
  ASSERT_TRUE(peer.Valid());
  const std::string pid = std::to_string(peer.Pid());
  ASSERT_TRUE(Shell("ip link add cvch0 type veth peer name cvch0p netns " + pid));
  ASSERT_TRUE(Shell("ip addr add 10.91.0.1/24 dev cvch0 && ip link set cvch0 up"));
  ASSERT_TRUE(peer.Run("ip addr add 10.91.0.2/24 dev cvch0p && ip link set cvch0p up"));
  ASSERT_TRUE(
      test::WaitUntil([] { return Shell("ip -o addr show dev cvch0 | grep -q 10.91.0.1"); }, 5s));

  AdapterTable table = BuildAdapterTable(ListNetworkAdapters());
  const AdapterEntry *loopback = FindAdapter(table, "127.0.0.1");
  const AdapterEntry *veth = FindAdapter(table, "10.91.0.1");
  ASSERT_NE(loopback, nullptr);
  ASSERT_NE(veth, nullptr);
  UdpChannel onLoopback;
  UdpChannel onVeth;
  ASSERT_TRUE(onLoopback.Open(*loopback));
  ASSERT_TRUE(onVeth.Open(*veth));

  bool sent = false;
  ASSERT_TRUE(peer.RunInside([&] {
    sent = SendFrom("10.91.0.2", "224.0.0.1", "group via veth") &&
           SendFrom("10.91.0.2", "10.91.0.1", "unicast via veth");
  }));
  ASSERT_TRUE(sent);
  ASSERT_TRUE(SendFrom("127.0.0.9", "224.0.0.1", "group via loopback"));

  std::vector<std::string> veth_got = Drain(onVeth);
  std::vector<std::string> lo_got = Drain(onLoopback);
  std::sort(veth_got.begin(), veth_got.end());
  EXPECT_EQ(veth_got, (std::vector<std::string>{"group via veth", "unicast via veth"}));
  EXPECT_EQ(lo_got, (std::vector<std::string>{"group via loopback"}));
  Shell("ip link del cvch0");
}
