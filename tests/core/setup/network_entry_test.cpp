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

// The fields the DHCP mode hides are read without a word: complete ones as
// they are, anything else as the box told it, a blank DNS field as none.
TEST(NetworkEntry, HiddenFieldsAreTakenSilently) {
  struct Case {
    const char *what;
    AddressFieldTexts fields;
    HiddenBlank blank;
    const char *sent;
  };
  const Case cases[] = {
      {"complete", {u"192", u"168", u"1", u"30"}, HiddenBlank::BoxValue, "192.168.1.30"},
      {"leading zeros", {u"010", u"0", u"00", u"7"}, HiddenBlank::BoxValue, "10.0.0.7"},
      {"half-typed", {u"192", u"168", u"1", u""}, HiddenBlank::BoxValue, "192.168.1.20"},
      {"a gap inside", {u"192", u"", u"1", u"9"}, HiddenBlank::Empty, "192.168.1.20"},
      {"out of range", {u"192", u"168", u"300", u"1"}, HiddenBlank::BoxValue, "192.168.1.20"},
      {"blank address", {u"", u"", u"", u""}, HiddenBlank::BoxValue, "192.168.1.20"},
      {"blank DNS", {u"", u"", u"", u""}, HiddenBlank::Empty, ""},
  };
  for (const Case &c : cases) {
    EXPECT_EQ(HiddenAddressText(c.fields, "192.168.1.20", c.blank), c.sent) << c.what;
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
