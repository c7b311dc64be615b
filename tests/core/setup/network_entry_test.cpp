// The network page's decisions before it sends: the gateway question and the
// record built from the confirmed texts.
#include "setup/network_entry.h"

#include <gtest/gtest.h>

#include <cstring>

#include "platform/text_codec.h"

namespace corvesta {
namespace {

TEST(NetworkEntry, GatewayQuestion) {
  struct Case {
    const char *what;
    bool dhcp;
    const char *ip;
    const char *mask;
    const char *gateway;
    bool asks;
  };
  const Case cases[] = {
      {"gateway in the /24", false, "192.168.1.20", "255.255.255.0", "192.168.1.1", false},
      {"same gateway outside the /30", false, "192.168.1.20", "255.255.255.252", "192.168.1.1",
       true},
      {"blank gateway", false, "192.168.1.20", "255.255.255.0", "", true},
      {"DHCP never asks", true, "192.168.1.20", "255.255.255.0", "", false},
      {"other network", false, "10.0.0.5", "255.0.0.0", "192.168.1.1", true},
  };
  for (const Case &c : cases) {
    NetworkEntry entry;
    entry.dhcp = c.dhcp;
    entry.ip = c.ip;
    entry.netmask = c.mask;
    entry.gateway = c.gateway;
    EXPECT_EQ(NetworkGatewayNeedsQuestion(entry), c.asks) << c.what;
  }
}

TEST(NetworkEntry, RecordHoldsTheTextsAndZeroElsewhere) {
  NetworkEntry entry;
  entry.dhcp = true;
  entry.ip = "192.168.100.200";
  entry.netmask = "255.255.255.0";
  entry.dns2 = "8.8.8.8";
  const auto settings = MakeNetSettings(entry);
  ASSERT_TRUE(settings.has_value());
  EXPECT_EQ(settings->dhcp, 1);
  EXPECT_EQ(FieldText(settings->ip, sizeof settings->ip), "192.168.100.200");
  EXPECT_EQ(FieldText(settings->netmask, sizeof settings->netmask), "255.255.255.0");
  EXPECT_EQ(FieldText(settings->gateway, sizeof settings->gateway), "");
  EXPECT_EQ(FieldText(settings->dns1, sizeof settings->dns1), "");
  EXPECT_EQ(FieldText(settings->dns2, sizeof settings->dns2), "8.8.8.8");
  const char zeros[sizeof settings->ip] = {};
  EXPECT_EQ(std::memcmp(settings->gateway, zeros, sizeof zeros), 0);
}

TEST(NetworkEntry, TextLongerThanItsFieldIsRefused) {
  NetworkEntry entry;
  entry.ip = "1234567890123456"; // 16 bytes leave no room for the zero
  EXPECT_FALSE(MakeNetSettings(entry).has_value());
}

} // namespace
} // namespace corvesta
