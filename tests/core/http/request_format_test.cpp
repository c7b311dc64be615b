#include <gtest/gtest.h>

#include "nas/http/command_bodies.h"
#include "nas/http/http_request_builder.h"
#include "nas/http/http_status_line.h"
#include "nas/replies/volume_lines.h"
#include "platform/base64.h"
#include "platform/text_codec.h"

using namespace corvesta;

namespace {

TEST(HttpRequestFormat, OneFormatWithAdminAuthorisationAndTheUsersCookie) {
  const std::optional<std::string> text =
      FormatHttpRequest("/cgi-bin/login_mgr.cgi", "192.168.1.20", "cmd=logout&name=bob&os=Windows",
                        MakeCredentials("bob", "s3cret"));
  ASSERT_TRUE(text);
  EXPECT_EQ(*text, "POST /cgi-bin/login_mgr.cgi HTTP/1.0\r\n"
                   "Connection: close\r\n"
                   "Host: 192.168.1.20\r\n"
                   "Content-Length: 30\r\n"
                   "Authorization: Basic " +
                       Base64Encode("admin:s3cret") +
                       "\r\n"
                       "Content-Type: application/x-www-form-urlencoded\r\n"
                       "Cookie: username=bob\r\n"
                       "\r\n"
                       "cmd=logout&name=bob&os=Windows");
}

TEST(HttpRequestFormat, EmptyPasswordAndEmptyBody) {
  const std::optional<std::string> text =
      FormatHttpRequest("/xml/dm_read_state.xml", "10.0.0.2", "", MakeCredentials("admin", ""));
  ASSERT_TRUE(text);
  EXPECT_NE(text->find("Authorization: Basic YWRtaW46\r\n"), std::string::npos);
  EXPECT_NE(text->find("Content-Length: 0\r\n"), std::string::npos);
  EXPECT_TRUE(text->ends_with("Cookie: username=admin\r\n\r\n"));
}

TEST(HttpRequestFormat, ARequestBeyondItsLimitIsRefusedNotCut) {
  const Credentials credentials = MakeCredentials("admin", "0123456789abcdef");
  const auto request = [&](std::size_t bodyBytes) {
    return FormatHttpRequest("/cgi-bin/hd_config.cgi", "192.168.100.200",
                             std::string(bodyBytes, 'x'), credentials);
  };
  std::size_t largest = 1023;
  while (largest > 0 && !request(largest)) {
    --largest;
  }
  ASSERT_TRUE(request(largest));
  EXPECT_EQ(request(largest)->size(), 1023u);
  EXPECT_EQ(request(largest + 1), std::nullopt);
  EXPECT_EQ(request(4000), std::nullopt);
}

TEST(HttpStatusLine, OnlyVersionOnePointZeroWithTwoHundredPasses) {
  const std::pair<const char *, bool> cases[] = {
      {"HTTP/1.0 200 OK\r\n\r\n<r/>", true},
      {"HTTP/1.0 200\r\n\r\n<r/>", true},
      {"HTTP/1.0 200 ", true},
      {"HTTP/1.1 200 OK\r\n", false},
      {"HTTP/1.0 302 Found\r\n", false},
      {"HTTP/1.0 2000 OK\r\n", false},
      {"HTTP/1.0  200 OK\r\n", false},
      {"HTTP/1.00 200 OK\r\n", false},
      {"HTTP/1.0", false},
      {" HTTP/1.0 200 OK\r\n", false},
      {"http/1.0 200 OK\r\n", false},
      {"<r>HTTP/1.0 200 OK</r>", false},
      {"\x89PNG garbage", false},
      {"", false},
  };
  for (const auto &[reply, accepted] : cases) {
    EXPECT_EQ(StatusLineAccepted(reply), accepted) << reply;
  }
}

VolumeSpec Spec(std::int32_t number, const char *mode, std::int32_t size, const char *disks,
                std::int32_t firstFlag, std::int32_t secondFlag) {
  VolumeSpec spec;
  spec.autoSync = 1;
  spec.volumeNumber = number;
  CopyToField(spec.mode, sizeof spec.mode, mode);
  CopyToField(spec.fileSystem, sizeof spec.fileSystem, "ext4");
  spec.size = size;
  CopyToField(spec.disks, sizeof spec.disks, disks);
  spec.firstFlag = firstFlag;
  spec.secondFlag = secondFlag;
  return spec;
}

TEST(VolumeLines, OneLinePerSpecJoinedByAComma) {
  VolumeSpec first = Spec(1, "raid1", 931, "sdasdb", 0, 2);
  EXPECT_EQ(FormatVolumeLines(first), "1,raid1,ext4,931,sdasdb,none,0,1,931,0,none,2,0,0,null");
  VolumeSpec second = Spec(2, "standard", -1, "sdb", 1, 0);
  first.next = &second;
  EXPECT_EQ(FormatVolumeLines(first), "1,raid1,ext4,931,sdasdb,none,0,1,931,0,none,2,0,0,null,"
                                      "2,standard,ext4,-1,sdb,none,1,1,-1,0,none,0,0,0,null");
  VolumeSpec third = Spec(3, "standard", 5, "sdc", 0, 0);
  second.next = &third;
  EXPECT_EQ(FormatVolumeLines(first), std::nullopt);
}

TEST(CommandBodies, ValuesGoInUnchanged) {
  EXPECT_EQ(body::SetTimeZone(35), "cmd=cgi_timezone&f_timezone=35");
  NetSettings net;
  net.dhcp = 1;
  CopyToField(net.ip, sizeof net.ip, "192.168.1.5");
  CopyToField(net.netmask, sizeof net.netmask, "255.255.255.0");
  CopyToField(net.gateway, sizeof net.gateway, "192.168.1.1");
  CopyToField(net.dns1, sizeof net.dns1, "8.8.8.8");
  EXPECT_EQ(body::SetNetwork(net),
            "cmd=cgi_ip&f_dhcp_enable=1&f_ip=192.168.1.5&f_gateway=192.168.1.1"
            "&f_netmask=255.255.255.0&f_dns1=8.8.8.8&f_dns2=&vlan_enable=0&vlan_id=0&lan=0");
  EXPECT_EQ(body::ChangePassword("admin", "a&b", "c=d"),
            "cmd=cgi_chg_user_pw&uname=admin&opw=a&b&pw=c=d");
  // Bytes whose Base64 holds "+", "/" and "=": sent as they are.
  const std::string password = "\xfb\xff\xbf";
  ASSERT_EQ(Base64Encode(password), "+/+/");
  EXPECT_EQ(body::LogIn("bob", "\xfb\xff"), "cmd=login&username=bob&pwd=+/8=&ssl=0&port=0");
  EXPECT_EQ(body::LogOut("bob"), "cmd=logout&name=bob&os=Windows");
}

} // namespace
