// The adapter list as the system gives it: IPv4 interfaces that are up and
// multicast-capable, first address each, in the system's order; the table
// keeps the first eight.
#include <gtest/gtest.h>

#include <string>

#include "nas/udp/adapter_table.h"
#include "peer_namespace.h"
#include "platform/network_adapters.h"

using namespace corvesta;
using corvesta::test::Shell;

namespace {

// Interfaces made for one test and removed afterwards: veth pairs whose
// other end stays down and without an address.
class TestInterfaces {
public:
  ~TestInterfaces() {
    for (const std::string &name : m_names) {
      Shell("ip link del " + name);
    }
  }
  bool Add(const std::string &name, const std::string &address, bool up, bool multicast) {
    m_names.push_back(name);
    return Shell("ip link add " + name + " type veth peer name " + name + "p") &&
           Shell("ip addr add " + address + " dev " + name) &&
           Shell("ip link set " + name + " multicast " + (multicast ? "on" : "off")) &&
           (!up || Shell("ip link set " + name + " up"));
  }

private:
  std::vector<std::string> m_names;
};

std::vector<std::string> Addresses(const std::vector<NetworkAdapter> &adapters) {
  std::vector<std::string> out;
  for (const NetworkAdapter &adapter : adapters) {
    out.push_back(adapter.address + "/" + adapter.mask);
  }
  return out;
}

} // namespace

TEST(NetworkAdapters, OnlyInterfacesThatAreUpAndMulticastCapable) {
  TestInterfaces interfaces;
  ASSERT_TRUE(interfaces.Add("cvna", "10.81.0.1/24", true, true));
  ASSERT_TRUE(interfaces.Add("cvnb", "10.82.0.1/16", false, true)); // down
  ASSERT_TRUE(interfaces.Add("cvnc", "10.83.0.1/24", true, false)); // no multicast
  ASSERT_TRUE(Shell("ip addr add 10.81.0.2/24 dev cvna"));          // a second address
  EXPECT_EQ(Addresses(ListNetworkAdapters()),
            (std::vector<std::string>{"127.0.0.1/255.0.0.0", "10.81.0.1/255.255.255.0"}));
}

TEST(NetworkAdapters, TheTableKeepsTheFirstEightInTheSystemsOrder) {
  TestInterfaces interfaces;
  for (int i = 0; i < 9; ++i) {
    ASSERT_TRUE(interfaces.Add("cvn" + std::to_string(i), "10.90." + std::to_string(i) + ".1/24",
                               true, true));
  }
  std::vector<NetworkAdapter> listed = ListNetworkAdapters();
  ASSERT_EQ(listed.size(), 10u) << "loopback and the nine test interfaces";
  AdapterTable table = BuildAdapterTable(listed);
  ASSERT_EQ(table.count, 8u);
  EXPECT_STREQ(table.adapters[0].address, "127.0.0.1");
  for (int i = 1; i < 8; ++i) {
    EXPECT_EQ(std::string(table.adapters[i].address), "10.90." + std::to_string(i - 1) + ".1");
  }
}
