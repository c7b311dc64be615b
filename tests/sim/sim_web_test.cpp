// nas-sim's web service: the commands and XML files as a client sends them,
// the authorisation, the state changes, and the HTTP fault switches.

#include <gtest/gtest.h>

#include <thread>

#include "platform/base64.h"
#include "sim_test_sockets.h"
#include "support/nas_sim_process.h"

namespace corvesta::test {
namespace {

using namespace std::chrono_literals;

constexpr const char *kBox = "127.0.0.2";
constexpr const char *kAccount = "/cgi-bin/account_mgr.cgi";
constexpr const char *kWizard = "/cgi-bin/wizard_mgr.cgi";
constexpr const char *kSystem = "/cgi-bin/system_mgr.cgi";
constexpr const char *kNetwork = "/cgi-bin/network_mgr.cgi";
constexpr const char *kDisk = "/cgi-bin/hd_config.cgi";
constexpr const char *kLogin = "/cgi-bin/login_mgr.cgi";

nlohmann::json ConfiguredBox() {
  nlohmann::json box = NasSimProcess::MakeBox("HOME", kBox, "00:11:22:33:44:01", "adm&pw=1");
  box["workgroup"] = "WORKGROUP";
  box["description"] = "Family <files>";
  box["timezone"] = 21;
  box["dns1"] = "127.0.0.53";
  box["accounts"].push_back({{"user", "bob"}, {"password", "bobpw"}, {"access", "1,0,1,0,1,0"}});
  box["disks"] = {{{"device", "sda"}, {"size_gib", 1000}}, {{"device", "sdb"}, {"size_gib", 1000}}};
  box["volumes"] = {{{"volume", 1}, {"total_kib", 1045430272}, {"used_kib", 1024}}};
  box["shares"] = {{{"name", "Public"}},
                   {{"name", "Fotos \xC3\xA9t\xC3\xA9"}},
                   {{"name", "usbdisk1"}, {"usb", true}},
                   {{"name", "admin-only"}, {"users", {"admin"}}}};
  return box;
}

class SimWebTest : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(sim.Start(NasSimProcess::MakeState({ConfiguredBox()}))) << sim.Error();
  }
  // nas-sim ends cleanly: no crash, no sanitizer report.
  void TearDown() override {
    sim.Stop();
    EXPECT_EQ(sim.ExitStatus(), 0) << sim.Stderr();
  }

  std::string Post(const std::string &path, const std::string &body,
                   const std::string &user = "admin", const std::string &password = "adm&pw=1",
                   const std::string &from = kClientAddress) {
    return HttpReplyText(kBox, PostRequest(path, kBox, user, password, body), from);
  }

  NasSimProcess sim;
};

struct EndpointCase {
  const char *path;
  const char *body;
  std::vector<std::string> expected; // in this order in the body
};

TEST_F(SimWebTest, EveryReadingCommandAnswersWithItsDocument) {
  const EndpointCase cases[] = {
      {kWizard,
       "cmd=cgi_get_wizard",
       {"<lan>", "<dhcp_enable>0</dhcp_enable>", "<ip>127.0.0.2</ip>", "<netmask>255.0.0.0",
        "<gateway>127.0.0.1", "<dns1>127.0.0.53</dns1>", "<dns2></dns2>", "</lan>", "<system>",
        "<name>HOME</name>", "<workgroup>WORKGROUP", "<description>Family &lt;files&gt;",
        "<timezone>21</timezone>", "</system>"}},
      {kNetwork,
       "cmd=cgi_get_lan_xml2&lan=0",
       {"<info>", "<ip1>127.0.0.2</ip1>", "<netmask1>255.0.0.0</netmask1>",
        "<gateway1>127.0.0.1</gateway1>", "</info>"}},
      {"/xml/current_hd_info.xml",
       "",
       {"<hd_info>", "<device_info>", "<device_num>2</device_num>", "<item>",
        "<device_name>sda</device_name>", "<hd_GiB_size>1000</hd_GiB_size>", "</item>",
        "<device_name>sdb</device_name>"}},
      {"/xml/dm_read_state.xml",
       "",
       {"<dm_state>", "<finished>0</finished>", "<errcode>1</errcode>", "<percent>0</percent>"}},
      {kDisk,
       "cmd=cgi_Status_Volume_Info",
       {"<item>", "<volume>1</volume>", "<total_size>1045430272</total_size>",
        "<use_size>1024</use_size>"}},
      {kAccount,
       "cmd=cgi_get_share_info2&name=admin&usb=0",
       {"<item>Public</item>", "<item>Fotos \xC3\xA9t\xC3\xA9</item>", "<item>admin-only</item>"}},
      {kAccount, "cmd=cgi_get_user_access&name=bob", {"<authority>1,0,1,0,1,0</authority>"}},
      {kDisk, "cmd=cgi_AJAXPlorer_Stop", {"<res>1</res>"}},
  };
  for (const EndpointCase &c : cases) {
    SCOPED_TRACE(std::string(c.path) + " " + c.body);
    const std::string reply = Post(c.path, c.body);
    EXPECT_EQ(StatusLineOf(reply), "HTTP/1.0 200 OK");
    const std::string body = BodyOf(reply);
    EXPECT_EQ(body.rfind("<?xml", 0), 0u);
    std::size_t at = 0;
    for (const std::string &piece : c.expected) {
      const std::size_t found = body.find(piece, at);
      EXPECT_NE(found, std::string::npos) << piece << " in " << body;
      at = found == std::string::npos ? at : found + piece.size();
    }
  }
}

TEST_F(SimWebTest, ShareListHonoursTheUsbFlagAndTheUser) {
  const std::string withUsb = BodyOf(Post(kAccount, "cmd=cgi_get_share_info2&name=admin&usb=1"));
  EXPECT_NE(withUsb.find("<item>usbdisk1</item>"), std::string::npos);
  const std::string without = BodyOf(Post(kAccount, "cmd=cgi_get_share_info2&name=admin&usb=0"));
  EXPECT_EQ(without.find("usbdisk1"), std::string::npos);
  const std::string bobs =
      BodyOf(Post(kAccount, "cmd=cgi_get_share_info2&name=bob&usb=0", "bob", "bobpw"));
  EXPECT_NE(bobs.find("<item>Public</item>"), std::string::npos);
  EXPECT_EQ(bobs.find("admin-only"), std::string::npos);
}

struct AuthCase {
  const char *user;
  const char *password;
  const char *status;
};

TEST_F(SimWebTest, AuthorisationCarriesAdminAndTheCookieUsersPassword) {
  const AuthCase cases[] = {
      {"admin", "adm&pw=1", "HTTP/1.0 200 OK"},
      {"bob", "bobpw", "HTTP/1.0 200 OK"},
      {"admin", "wrong", "HTTP/1.0 401 Unauthorized"},
      {"bob", "adm&pw=1", "HTTP/1.0 401 Unauthorized"},
      {"nobody", "bobpw", "HTTP/1.0 401 Unauthorized"},
      {"", "adm&pw=1", "HTTP/1.0 401 Unauthorized"},
  };
  for (const AuthCase &c : cases) {
    SCOPED_TRACE(std::string(c.user) + "/" + c.password);
    EXPECT_EQ(StatusLineOf(Post(kWizard, "cmd=cgi_get_wizard", c.user, c.password)), c.status);
  }
  // The user part of the authorisation must be admin, whoever is logged in.
  const std::string bobAsBob = "POST /cgi-bin/wizard_mgr.cgi HTTP/1.0\r\nAuthorization: Basic " +
                               Base64Encode("bob:bobpw") +
                               "\r\nCookie: username=bob\r\nContent-Length: 18\r\n\r\n"
                               "cmd=cgi_get_wizard";
  EXPECT_EQ(StatusLineOf(HttpReplyText(kBox, bobAsBob)), "HTTP/1.0 401 Unauthorized");
}

TEST_F(SimWebTest, UnknownPathsCommandsAndMethodsAreRefused) {
  EXPECT_EQ(StatusLineOf(Post("/cgi-bin/nothing.cgi", "cmd=cgi_get_wizard")),
            "HTTP/1.0 404 Not Found");
  EXPECT_EQ(StatusLineOf(Post(kSystem, "cmd=cgi_get_wizard")), "HTTP/1.0 400 Bad Request");
  EXPECT_EQ(StatusLineOf(Post(kWizard, "cgi_get_wizard")), "HTTP/1.0 400 Bad Request");
  EXPECT_EQ(StatusLineOf(Post(kSystem, "cmd=cgi_timezone&zone=3")), "HTTP/1.0 400 Bad Request");
  EXPECT_EQ(StatusLineOf(HttpReplyText(kBox, "GET /cgi-bin/wizard_mgr.cgi HTTP/1.0\r\n\r\n")),
            "HTTP/1.0 405 Method Not Allowed");
  EXPECT_EQ(StatusLineOf(HttpReplyText(kBox, "garbage\r\n\r\n")), "HTTP/1.0 400 Bad Request");
}

TEST_F(SimWebTest, PasswordChangeTakesEffectForTheNextCredentialCheckAndRequest) {
  // Passwords go unescaped, "&" and "=" included.
  const std::string reply = Post(kAccount, "cmd=cgi_chg_user_pw&uname=admin&opw=adm&pw=1&pw=n&w=");
  EXPECT_NE(BodyOf(reply).find("<status>1</status>"), std::string::npos) << reply;
  const auto state = sim.Box("HOME");
  ASSERT_TRUE(state);
  EXPECT_EQ((*state)["accounts"][0]["password"], "n&w=");
  EXPECT_EQ(StatusLineOf(Post(kWizard, "cmd=cgi_get_wizard", "admin", "n&w=")), "HTTP/1.0 200 OK");
  EXPECT_EQ(StatusLineOf(Post(kWizard, "cmd=cgi_get_wizard")), "HTTP/1.0 401 Unauthorized");

  DatagramClient client;
  ASSERT_TRUE(client.Ok());
  const std::string wireId = WireIdOf("00:11:22:33:44:01", kBox);
  ASSERT_TRUE(client.Send(CredCheck(Tag(1), wireId, "admin", "n&w=")));
  auto replies = client.Receive(400ms);
  ASSERT_EQ(replies.size(), 1u);
  EXPECT_EQ(replies[0].bytes[28], 1);
  ASSERT_TRUE(client.Send(CredCheck(Tag(2), wireId, "admin", "adm&pw=1")));
  replies = client.Receive(400ms);
  ASSERT_EQ(replies.size(), 1u);
  EXPECT_EQ(replies[0].bytes[28], 0);
}

TEST_F(SimWebTest, PasswordChangeWithAWrongOldPasswordChangesNothing) {
  const std::string reply =
      Post(kAccount, "cmd=cgi_chg_user_pw&uname=bob&opw=guess&pw=new", "bob", "bobpw");
  EXPECT_EQ(StatusLineOf(reply), "HTTP/1.0 200 OK");
  EXPECT_NE(BodyOf(reply).find("<status>0</status>"), std::string::npos);
  EXPECT_EQ((*sim.Box("HOME"))["accounts"][1]["password"], "bobpw");
}

TEST_F(SimWebTest, SecondLoginFromElsewhereIsRefusedUntilLogout) {
  const std::string login = "cmd=login&username=bob&pwd=" + Base64Encode("bobpw") + "&ssl=0&port=0";
  const std::string first = Post(kLogin, login, "bob", "bobpw");
  EXPECT_NE(first.find("success"), std::string::npos) << first;
  // The same address may log in again.
  EXPECT_NE(Post(kLogin, login, "bob", "bobpw").find("success"), std::string::npos);

  const std::string elsewhere = Post(kLogin, login, "bob", "bobpw", "127.0.0.99");
  EXPECT_EQ(elsewhere.find("success"), std::string::npos);
  const std::size_t flag = elsewhere.find("flag");
  ASSERT_NE(flag, std::string::npos);
  EXPECT_EQ(elsewhere[flag + 5], '5');
  // A logout from elsewhere does not end the first session...
  Post(kLogin, "cmd=logout&name=bob&os=Windows", "bob", "bobpw", "127.0.0.99");
  EXPECT_EQ(Post(kLogin, login, "bob", "bobpw", "127.0.0.99").find("success"), std::string::npos);
  // ...its own logout does.
  EXPECT_NE(Post(kLogin, "cmd=logout&name=bob&os=Windows", "bob", "bobpw").find("success"),
            std::string::npos);
  EXPECT_NE(Post(kLogin, login, "bob", "bobpw", "127.0.0.99").find("success"), std::string::npos);
}

TEST_F(SimWebTest, LoginWithAWrongPasswordFailsWithoutSuccess) {
  const std::string reply =
      Post(kLogin, "cmd=login&username=admin&pwd=" + Base64Encode("nope") + "&ssl=0&port=0");
  EXPECT_EQ(reply.find("success"), std::string::npos);
  EXPECT_NE(reply.find("<flag>"), std::string::npos);
}

TEST_F(SimWebTest, DeviceIdentityAndTimeZoneChangeWhatTheBoxReports) {
  EXPECT_EQ(StatusLineOf(
                Post(kSystem, "cmd=cgi_device&description=Den & co&hostname=DEN&workgroup=HOME")),
            "HTTP/1.0 200 OK");
  EXPECT_EQ(StatusLineOf(Post(kSystem, "cmd=cgi_timezone&f_timezone=35")), "HTTP/1.0 200 OK");
  const std::string wizard = BodyOf(Post(kWizard, "cmd=cgi_get_wizard"));
  EXPECT_NE(wizard.find("<name>DEN</name><workgroup>HOME</workgroup>"
                        "<description>Den &amp; co</description><timezone>35</timezone>"),
            std::string::npos)
      << wizard;
  // The probe reply carries the new name.
  DatagramClient client;
  ASSERT_TRUE(client.Ok());
  ASSERT_TRUE(client.Send(Probe(Tag(3))));
  const auto replies = client.Receive(400ms);
  ASSERT_EQ(replies.size(), 1u);
  EXPECT_EQ(replies[0].bytes.substr(104), "DEN");
  // A name too long for the box is refused and changes nothing.
  EXPECT_EQ(StatusLineOf(
                Post(kSystem, "cmd=cgi_device&description=&hostname=ABCDEFGHIJKLMNOP&workgroup=W")),
            "HTTP/1.0 400 Bad Request");
  EXPECT_EQ((*sim.Box("DEN"))["name"], "DEN");
}

TEST_F(SimWebTest, NetworkSettingsMoveTheBoxAndTheOldAddressAnswersForAWhile) {
  ASSERT_TRUE(sim.Patch("HOME", {{"address_grace_ms", 1500}}));
  EXPECT_EQ(StatusLineOf(Post(kNetwork, "cmd=cgi_setip_lock&lan=0")), "HTTP/1.0 200 OK");
  EXPECT_TRUE((*sim.Box("HOME"))["runtime"]["address_locked"].get<bool>());
  const std::string reply =
      Post(kNetwork, "cmd=cgi_ip&f_dhcp_enable=0&f_ip=127.0.0.20&f_gateway=127.0.0.1"
                     "&f_netmask=255.255.255.0&f_dns1=127.0.0.53&f_dns2=0.0.0.0"
                     "&vlan_enable=0&vlan_id=0&lan=0");
  EXPECT_EQ(StatusLineOf(reply), "HTTP/1.0 200 OK");
  // The old address still answers, reporting the new one.
  const std::string lan = BodyOf(Post(kNetwork, "cmd=cgi_get_lan_xml2&lan=0"));
  EXPECT_NE(lan.find("<ip1>127.0.0.20</ip1><netmask1>255.255.255.0</netmask1>"), std::string::npos)
      << lan;
  const std::string atNew = HttpReplyText(
      "127.0.0.20", PostRequest(kWizard, "127.0.0.20", "admin", "adm&pw=1", "cmd=cgi_get_wizard"));
  EXPECT_NE(BodyOf(atNew).find("<dns1>127.0.0.53</dns1><dns2></dns2>"), std::string::npos);
  const auto state = sim.Box("HOME");
  EXPECT_FALSE((*state)["runtime"]["address_locked"].get<bool>());
  EXPECT_TRUE(WaitUntil([] { return ConnectionRefused(kBox); }, 5s));
  EXPECT_FALSE(ConnectionRefused("127.0.0.20"));
}

TEST_F(SimWebTest, DhcpReportsNoAddressUntilTheLeaseArrives) {
  ASSERT_TRUE(sim.Patch(
      "HOME",
      {{"dhcp_lease_ip", "127.0.0.30"}, {"dhcp_wait_ms", 800}, {"address_grace_ms", 5000}}));
  EXPECT_EQ(StatusLineOf(Post(kNetwork, "cmd=cgi_ip&f_dhcp_enable=1&f_ip=127.0.0.2&f_gateway="
                                        "&f_netmask=255.0.0.0&f_dns1=&f_dns2="
                                        "&vlan_enable=0&vlan_id=0&lan=0")),
            "HTTP/1.0 200 OK");
  EXPECT_NE(BodyOf(Post(kNetwork, "cmd=cgi_get_lan_xml2&lan=0")).find("<ip1>0.0.0.0</ip1>"),
            std::string::npos);
  EXPECT_TRUE(WaitUntil(
      [&] {
        return BodyOf(Post(kNetwork, "cmd=cgi_get_lan_xml2&lan=0")).find("<ip1>127.0.0.30</ip1>") !=
               std::string::npos;
      },
      3s));
  EXPECT_EQ((*sim.Box("HOME"))["dhcp"], true);
}

TEST_F(SimWebTest, InvalidNetworkSettingsAreRefusedAndChangeNothing) {
  const std::string reply = Post(kNetwork, "cmd=cgi_ip&f_dhcp_enable=0&f_ip=127.0.0.300&f_gateway="
                                           "&f_netmask=255.0.0.0&f_dns1=&f_dns2="
                                           "&vlan_enable=0&vlan_id=0&lan=0");
  EXPECT_EQ(StatusLineOf(reply), "HTTP/1.0 400 Bad Request");
  EXPECT_EQ((*sim.Box("HOME"))["ip"], kBox);
  EXPECT_FALSE(ConnectionRefused(kBox));
}

TEST_F(SimWebTest, RedirectPageNamesTheCenterAndTheUser) {
  const std::string management = HttpReplyText(
      kBox, "GET /web/utility_redirect.html?m=2&u=admin&p=" + Base64Encode("adm&pw=1") +
                "&d=status HTTP/1.1\r\nHost: 127.0.0.2\r\n\r\n");
  EXPECT_EQ(StatusLineOf(management), "HTTP/1.0 200 OK");
  EXPECT_NE(management.find("Management Center"), std::string::npos);
  EXPECT_NE(management.find("<p id=\"user\">admin</p>"), std::string::npos);
  EXPECT_NE(management.find("<p id=\"login\">accepted</p>"), std::string::npos);
  const std::string files =
      HttpReplyText(kBox, "GET /web/utility_redirect.html?m=1&u=bob&p=bobpw HTTP/1.1\r\n\r\n");
  EXPECT_NE(files.find("File Center"), std::string::npos);
  EXPECT_NE(files.find("<p id=\"login\">accepted</p>"), std::string::npos);
  const std::string wrong =
      HttpReplyText(kBox, "GET /web/utility_redirect.html?m=3&u=bob&p=bobpw HTTP/1.1\r\n\r\n");
  EXPECT_NE(wrong.find("<p id=\"login\">refused</p>"), std::string::npos);
}

TEST_F(SimWebTest, RequestLogHoldsTheWholeRequest) {
  const std::string request = PostRequest(kWizard, kBox, "admin", "adm&pw=1", "cmd=cgi_get_wizard");
  HttpReplyText(kBox, request);
  const auto logged =
      sim.WaitForRequest([](const SimRequest &r) { return r.transport == "tcp"; }, 2s);
  ASSERT_TRUE(logged);
  EXPECT_EQ(logged->bytes, request);
  EXPECT_EQ(logged->box, "HOME");
  EXPECT_EQ(logged->local, "127.0.0.2:80");
}

struct HttpFaultCase {
  const char *name;
  nlohmann::json fault;
  std::function<void(const HttpResult &)> check;
};

TEST_F(SimWebTest, HttpFaultSwitchesChangeTheReplyOfTheirCommandOnly) {
  const HttpFaultCase cases[] = {
      {"http11",
       {{"http11", true}},
       [](const HttpResult &r) { EXPECT_EQ(StatusLineOf(r.reply), "HTTP/1.1 200 OK"); }},
      {"status",
       {{"status", 302}},
       [](const HttpResult &r) { EXPECT_EQ(StatusLineOf(r.reply), "HTTP/1.0 302 Found"); }},
      {"broken xml",
       {{"broken_xml", true}},
       [](const HttpResult &r) {
         EXPECT_EQ(BodyOf(r.reply).find("</config>"), std::string::npos);
         EXPECT_NE(BodyOf(r.reply).find("<lan>"), std::string::npos);
       }},
      {"four-byte utf-8",
       {{"utf8_four_byte", true}},
       [](const HttpResult &r) { EXPECT_NE(r.reply.find("\xF0\x9F"), std::string::npos); }},
      {"oversize after",
       {{"oversize", "after"}},
       [](const HttpResult &r) {
         EXPECT_GT(r.reply.size(), 4096u);
         EXPECT_LT(r.reply.find("</config>"), 4096u);
       }},
      {"oversize before",
       {{"oversize", "before"}},
       [](const HttpResult &r) { EXPECT_GT(r.reply.find("<lan>"), 4096u); }},
      {"drop",
       {{"drop", true}},
       [](const HttpResult &r) {
         EXPECT_TRUE(r.reply.empty());
         EXPECT_TRUE(r.closedByBox);
       }},
      {"keep open",
       {{"keep_open", true}, {"keep_open_ms", 5000}},
       [](const HttpResult &r) {
         EXPECT_NE(r.reply.find("</config>"), std::string::npos);
         EXPECT_FALSE(r.closedByBox);
       }},
      {"segments",
       {{"segment_bytes", 16}, {"segment_delay_ms", 20}},
       [](const HttpResult &r) {
         EXPECT_NE(r.reply.find("</config>"), std::string::npos);
         EXPECT_TRUE(r.closedByBox);
         EXPECT_GT(r.reads, 5);
       }},
      {"slow",
       {{"delay_ms", 3000}},
       [](const HttpResult &r) {
         EXPECT_TRUE(r.reply.empty()); // nothing within the 1.5 s the client waits here
         EXPECT_FALSE(r.closedByBox);
       }},
  };
  const std::string wizard = PostRequest(kWizard, kBox, "admin", "adm&pw=1", "cmd=cgi_get_wizard");
  for (const HttpFaultCase &c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_TRUE(sim.SetFaults("HOME", {{"http", {{"cgi_get_wizard", c.fault}}}})) << sim.Error();
    const auto result = HttpExchange(kBox, wizard, 1500ms);
    ASSERT_TRUE(result);
    c.check(*result);
    // Another command is not affected.
    EXPECT_EQ(StatusLineOf(Post(kNetwork, "cmd=cgi_get_lan_xml2&lan=0")), "HTTP/1.0 200 OK");
  }
}

TEST_F(SimWebTest, FaultsForAllCommandsApplyToXmlFilesToo) {
  ASSERT_TRUE(sim.SetFaults(
      "HOME",
      {{"http",
        {{"*", {{"status", 500}}}, {"dm_read_state.xml", {{"status", 200}, {"http11", true}}}}}}));
  EXPECT_EQ(StatusLineOf(Post("/xml/current_hd_info.xml", "")),
            "HTTP/1.0 500 Internal Server Error");
  EXPECT_EQ(StatusLineOf(Post("/xml/dm_read_state.xml", "")), "HTTP/1.1 200 OK");
}

TEST_F(SimWebTest, RefusedConnectionsCanBeSwitchedOnAndOff) {
  ASSERT_TRUE(sim.SetFaults("HOME", {{"refuse_connections", true}}));
  EXPECT_TRUE(ConnectionRefused(kBox));
  ASSERT_TRUE(sim.SetFaults("HOME", nlohmann::json::object()));
  EXPECT_EQ(StatusLineOf(Post(kWizard, "cmd=cgi_get_wizard")), "HTTP/1.0 200 OK");
}

} // namespace
} // namespace corvesta::test
