// The commands against nas-sim inside a network namespace: the bytes each
// request puts on the wire, what the status line and the transport do to
// the outcome, and the connect sequence from discovery to logout.

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <memory>
#include <thread>

#include "nas/current_credentials.h"
#include "nas/device_list.h"
#include "nas/http/command_set.h"
#include "nas/protocol_timing.h"
#include "nas/replies/hd_info.h"
#include "nas/replies/share_list.h"
#include "nas/replies/wizard_info.h"
#include "nas/udp/credential_check.h"
#include "nas/udp/discovery.h"
#include "nas/worker_drain.h"
#include "platform/base64.h"
#include "platform/message_box.h"
#include "platform/text_codec.h"
#include "sim_exchange.h"
#include "support/clean_records.h"
#include "support/temp_folder.h"
#include "worker/private_messages.h"

using namespace corvesta;
using namespace std::chrono_literals;
using corvesta::test::NasSimProcess;
using nlohmann::json;

namespace {

constexpr char kBoxIp[] = "127.0.0.20";
constexpr char kBoxMac[] = "00:11:22:33:44:20";
// Base64 of these bytes holds "+", "/" and "=": "Pz4+Pz4/fg==".
constexpr char kPlusSlashPassword[] = "?>>?>?~";

json Box() {
  json box = NasSimProcess::MakeBox("alpha", kBoxIp, kBoxMac, "");
  box["accounts"].push_back({{"user", "bob"}, {"password", "a&b=c"}, {"access", "1,0,1,1,0,1"}});
  box["accounts"].push_back(
      {{"user", "carol"}, {"password", kPlusSlashPassword}, {"access", "1,1,1,1,1,1"}});
  box["disks"] = json::array(
      {{{"device", "sda"}, {"size_gib", 931}}, {{"device", "sdb"}, {"size_gib", 1863}}});
  box["volumes"] = json::array({{{"volume", 1},
                                 {"mode", "standard"},
                                 {"file_system", "ext4"},
                                 {"disks", "sda"},
                                 {"total_kib", 960000000},
                                 {"used_kib", 1000}},
                                {{"volume", 2},
                                 {"mode", "standard"},
                                 {"file_system", "ext4"},
                                 {"disks", "sdb"},
                                 {"total_kib", 1920000000},
                                 {"used_kib", 2000}}});
  box["shares"] = json::array({{{"name", "Public"}}, {{"name", "usbdisk1"}, {"usb", true}}});
  return box;
}

class CommandExchangeTest : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(sim.Start(NasSimProcess::MakeState({Box()}))) << sim.Error();
    test::UseSingleDevice(kBoxIp);
  }
  void TearDown() override {
    test::Collect(window, 0ms, 0ms);
    // No query is left behind, whatever the test did.
    EXPECT_TRUE(test::WaitUntil([&] { return CQuery::LiveCount() == liveBefore; }, 10s));
  }

  test::CleanRecords records; // first: reset before the others exist, after they are gone
  MessageQueueTarget window;
  NasSimProcess sim;
  ScopedMessageBoxRecorder boxes;
  std::int64_t liveBefore = CQuery::LiveCount();
};

// ---- Request bytes.

struct BytesCase {
  const char *name;
  const char *user;
  const char *password;
  std::function<Ticket(WindowHandle)> start;
  std::string path;
  std::string body;
};

std::string ExpectedRequest(const BytesCase &c) {
  return "POST " + c.path +
         " HTTP/1.0\r\n"
         "Connection: close\r\n"
         "Host: 127.0.0.20\r\n"
         "Content-Length: " +
         std::to_string(c.body.size()) +
         "\r\n"
         "Authorization: Basic " +
         Base64Encode(std::string("admin:") + c.password) +
         "\r\n"
         "Content-Type: application/x-www-form-urlencoded\r\n"
         "Cookie: username=" +
         c.user + "\r\n\r\n" + c.body;
}

DeviceIdentity Identity() {
  DeviceIdentity identity;
  CopyToField(identity.hostname, sizeof identity.hostname, "alpha");
  CopyToField(identity.workgroup, sizeof identity.workgroup, "HOME");
  CopyToField(identity.description, sizeof identity.description, "Attic & cellar");
  return identity;
}

NetSettings Network() {
  NetSettings net;
  net.dhcp = 1;
  CopyToField(net.ip, sizeof net.ip, kBoxIp);
  CopyToField(net.netmask, sizeof net.netmask, "255.0.0.0");
  CopyToField(net.gateway, sizeof net.gateway, "127.0.0.1");
  CopyToField(net.dns1, sizeof net.dns1, "127.0.0.53");
  return net;
}

VolumeSpec Spec(std::int32_t number, const char *disks) {
  VolumeSpec spec;
  spec.autoSync = 1;
  spec.volumeNumber = number;
  CopyToField(spec.mode, sizeof spec.mode, "standard");
  CopyToField(spec.fileSystem, sizeof spec.fileSystem, "ext4");
  spec.size = 900;
  CopyToField(spec.disks, sizeof spec.disks, disks);
  spec.secondFlag = 1;
  return spec;
}

TEST_F(CommandExchangeTest, EveryCommandSendsExactlyItsRequest) {
  timing::ScopedTimeScale faster(0.2); // the file browser's pause
  static VolumeSpec second = Spec(2, "sdb");
  static VolumeSpec firstOfTwo = [] {
    VolumeSpec spec = Spec(1, "sda");
    spec.next = &second;
    return spec;
  }();
  static const auto volumes = std::make_shared<VolumeInfo>();
  const std::string line1 = "1,standard,ext4,900,sda,none,0,1,900,0,none,1,0,0,null";
  const std::string line2 = "2,standard,ext4,900,sdb,none,0,1,900,0,none,1,0,0,null";
  const std::vector<BytesCase> cases = {
      {"read wizard, empty password", "admin", "",
       [](WindowHandle w) { return StartReadWizardInfo(w, 0); }, "/cgi-bin/wizard_mgr.cgi",
       "cmd=cgi_get_wizard"},
      {"device identity", "admin", "",
       [](WindowHandle w) { return StartSetDeviceIdentity(w, 0, Identity()); },
       "/cgi-bin/system_mgr.cgi",
       "cmd=cgi_device&description=Attic & cellar&hostname=alpha&workgroup=HOME"},
      {"time zone", "admin", "", [](WindowHandle w) { return StartSetTimeZone(w, 0, 35); },
       "/cgi-bin/system_mgr.cgi", "cmd=cgi_timezone&f_timezone=35"},
      {"network with dhcp", "admin", "",
       [](WindowHandle w) { return StartSetNetwork(w, 0, Network()); }, "/cgi-bin/network_mgr.cgi",
       "cmd=cgi_ip&f_dhcp_enable=1&f_ip=127.0.0.20&f_gateway=127.0.0.1&f_netmask=255.0.0.0"
       "&f_dns1=127.0.0.53&f_dns2=&vlan_enable=0&vlan_id=0&lan=0"},
      {"LAN address", "admin", "", [](WindowHandle w) { return StartReadLanAddress(w, 0); },
       "/cgi-bin/network_mgr.cgi", "cmd=cgi_get_lan_xml2&lan=0"},
      {"lock address", "admin", "", [](WindowHandle w) { return StartLockAddress(w, 0); },
       "/cgi-bin/network_mgr.cgi", "cmd=cgi_setip_lock&lan=0"},
      {"disk information, no body", "admin", "",
       [](WindowHandle w) { return StartReadDiskInfo(w, 0); }, "/xml/current_hd_info.xml", ""},
      {"stop file browser", "admin", "", [](WindowHandle w) { return StartStopFileBrowser(w, 0); },
       "/cgi-bin/hd_config.cgi", "cmd=cgi_AJAXPlorer_Stop"},
      {"create one volume", "admin", "",
       [](WindowHandle w) { return StartCreateVolumes(w, 0, Spec(1, "sda")); },
       "/cgi-bin/hd_config.cgi",
       "cmd=cgi_FMT_Create_DiskMGR&f_create_volume_info=" + line1 +
           "&f_create_type=1&f_auto_sync=1"},
      {"create two volumes", "admin", "",
       [](WindowHandle w) { return StartCreateVolumes(w, 0, firstOfTwo); },
       "/cgi-bin/hd_config.cgi",
       "cmd=cgi_FMT_Create_DiskMGR&f_create_volume_info=" + line1 + "," + line2 +
           "&f_create_type=1&f_auto_sync=1"},
      {"format state, no body", "admin", "",
       [](WindowHandle w) { return StartReadFormatState(w, 0); }, "/xml/dm_read_state.xml", ""},
      {"remount", "admin", "", [](WindowHandle w) { return StartRemountDisks(w, 0); },
       "/cgi-bin/hd_config.cgi", "cmd=cgi_Disk_Remount"},
      {"remount state", "admin", "", [](WindowHandle w) { return StartReadRemountState(w, 0); },
       "/cgi-bin/hd_config.cgi", "cmd=cgi_Check_Disk_Remount_State"},
      {"finish", "admin", "", [](WindowHandle w) { return StartFinishFormatting(w, 0); },
       "/cgi-bin/hd_config.cgi", "cmd=cgi_FMT_Disk_Finish"},
      {"volume list", "admin", "",
       [](WindowHandle w) { return StartReadVolumeList(w, 0, volumes); }, "/cgi-bin/hd_config.cgi",
       "cmd=cgi_Status_Volume_Info"},
      {"share list, password with & and =", "bob", "a&b=c",
       [](WindowHandle w) { return StartReadShareList(w, 0, 0); }, "/cgi-bin/account_mgr.cgi",
       "cmd=cgi_get_share_info2&name=bob&usb=0"},
      {"USB share list", "bob", "a&b=c", [](WindowHandle w) { return StartReadShareList(w, 0, 1); },
       "/cgi-bin/account_mgr.cgi", "cmd=cgi_get_share_info2&name=bob&usb=1"},
      {"user access", "bob", "a&b=c", [](WindowHandle w) { return StartReadUserAccess(w, 0); },
       "/cgi-bin/account_mgr.cgi", "cmd=cgi_get_user_access&name=bob"},
      {"log in, Base64 unescaped", "carol", kPlusSlashPassword,
       [](WindowHandle w) { return StartLogIn(w, 0, 0); }, "/cgi-bin/login_mgr.cgi",
       "cmd=login&username=carol&pwd=Pz4+Pz4/fg==&ssl=0&port=0"},
      {"log out, no password in the body", "carol", kPlusSlashPassword,
       [](WindowHandle w) { return StartLogOut(w, 0); }, "/cgi-bin/login_mgr.cgi",
       "cmd=logout&name=carol&os=Windows"},
      {"change password, sent unescaped", "bob", "a&b=c",
       [](WindowHandle w) { return StartChangePassword(w, 0, u"a&b=c", u"n&w=1"); },
       "/cgi-bin/account_mgr.cgi", "cmd=cgi_chg_user_pw&uname=bob&opw=a&b=c&pw=n&w=1"},
  };
  for (const BytesCase &c : cases) {
    SCOPED_TRACE(c.name);
    SetCurrentCredentials(MakeCredentials(c.user, c.password));
    const std::size_t before = test::WebRequests(sim).size();
    ASSERT_NE(c.start(window.Handle()), 0u);
    ASSERT_TRUE(test::WaitUntil([&] { return test::WebRequests(sim).size() > before; }, 10s));
    const std::vector<test::SimRequest> web = test::WebRequests(sim);
    EXPECT_EQ(web.back().bytes, ExpectedRequest(c));
    EXPECT_EQ(web.back().box, "alpha");
    // Each command reports before the next one starts.
    EXPECT_FALSE(test::Collect(window, 5s, 300ms).empty());
  }
  EXPECT_EQ(CurrentCredentials().Password(), "n&w=1"); // the box took the change
}

// ---- Status line and transport, seen through a set-up command's result.

struct DeliveryCase {
  const char *name;
  json fault;
  WPARAM result;    // WM_COMMAND_RESULT of the LAN address read
  bool addressRead; // the reply's address reached the device list
};

TEST_F(CommandExchangeTest, StatusLineAndDeliveryDecideTheResult) {
  timing::ScopedTimeScale faster(0.1); // a kept connection ends after ~0.8 s of silence
  const std::vector<DeliveryCase> cases = {
      {"plain", json::object(), kResultSuccess, true},
      {"HTTP/1.1", {{"http11", true}}, kResultFailure, false},
      {"status 302", {{"status", 302}}, kResultFailure, false},
      {"closed without a reply", {{"drop", true}}, kResultFailure, false},
      {"many small segments",
       {{"segment_bytes", 3}, {"segment_delay_ms", 1}},
       kResultSuccess,
       true},
      {"connection kept open",
       {{"keep_open", true}, {"keep_open_ms", 20000}},
       kResultSuccess,
       true},
      {"padding after the document", {{"oversize", "after"}}, kResultSuccess, true},
      {"padding before the document", {{"oversize", "before"}}, kResultFailure, false},
  };
  for (const DeliveryCase &c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_TRUE(sim.SetFaults("alpha", {{"http", {{"cgi_get_lan_xml2", c.fault}}}}));
    test::UseSingleDevice(kBoxIp);
    const std::uint64_t generation = DeviceList::Instance().Generation();
    DeviceList::Instance().Update(generation, [](std::vector<NasDevice> &devices) {
      CopyToField(devices[0].netmask, sizeof devices[0].netmask, "unchanged");
    });
    SetCurrentCredentials(MakeCredentials("admin", ""));
    ASSERT_NE(StartReadLanAddress(window.Handle(), 0), 0u);
    const auto message = test::Await(window, WM_COMMAND_RESULT);
    ASSERT_TRUE(message);
    EXPECT_EQ(message->wParam, c.result);
    EXPECT_EQ(message->lParam, 6);
    const NasDevice device = *DeviceList::Instance().At(0);
    EXPECT_EQ(FieldText(device.netmask, sizeof device.netmask),
              c.addressRead ? "255.0.0.0" : "unchanged");
  }
}

// A change whose request went out whole but whose answer was lost may have
// been made: its result says so, apart from a refusal and from a request
// that never reached the box.
TEST_F(CommandExchangeTest, ALostAnswerToAChangeIsToldApartFromARefusal) {
  timing::ScopedTimeScale faster(0.1); // connection attempts to a closed port
  struct Case {
    const char *name;
    json faults;
    WPARAM result;
    bool made; // the box took the new description
  };
  const Case cases[] = {
      {"answered", json::object(), kResultSuccess, true},
      {"closed without a reply",
       {{"http", {{"cgi_device", {{"drop", true}}}}}},
       kResultReplyLost,
       true},
      {"refused with status 500",
       {{"http", {{"cgi_device", {{"status", 500}}}}}},
       kResultFailure,
       true},
      {"no connection", {{"refuse_connections", true}}, kResultFailure, false},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_TRUE(sim.SetFaults("alpha", json::object())) << sim.Error();
    ASSERT_TRUE(sim.Patch("alpha", {{"description", "before"}})) << sim.Error();
    ASSERT_TRUE(sim.SetFaults("alpha", c.faults)) << sim.Error();
    SetCurrentCredentials(MakeCredentials("admin", ""));
    DeviceIdentity identity;
    CopyToField(identity.hostname, sizeof identity.hostname, "alpha");
    CopyToField(identity.workgroup, sizeof identity.workgroup, "HOME");
    CopyToField(identity.description, sizeof identity.description, "after");
    ASSERT_NE(StartSetDeviceIdentity(window.Handle(), 0, identity), 0u);
    const auto message = test::Await(window, WM_COMMAND_RESULT, 30s);
    ASSERT_TRUE(message);
    EXPECT_EQ(message->wParam, c.result);
    EXPECT_EQ(sim.Box("alpha").value_or(json::object()).value("description", ""),
              c.made ? "after" : "before");
  }
}

// ---- How each request ends.

// The messages that tell a window how a request ended. WM_DISK_INFO is not
// one: WM_COMMAND_RESULT follows it.
bool IsEnding(UINT message) {
  switch (message) {
  case WM_QUERY_RESULT:
  case WM_COMMAND_RESULT:
  case WM_SETIP_RESULT:
  case WM_DISK_STEP_RESULT:
  case WM_FORMAT_CREATE_RESULT:
  case WM_FORMAT_PROGRESS:
  case WM_REQUEST_UNANSWERED:
    return true;
  default:
    return false;
  }
}

struct EndingCase {
  const char *name;
  json faults;
  std::function<Ticket(WindowHandle)> start;
  UINT ending;        // the one ending message
  WPARAM wParam;      // of a result message; an unanswered end carries the ticket
  QueryKind kind;     // lParam of an unanswered end
  CommandIndex index; // lParam of a command or disk message
};

json HttpFault(const char *command, json fault) {
  return {{"http", {{command, std::move(fault)}}}};
}

// Each request, failing on its way or not, ends with exactly one message for
// its window: its result, or WM_REQUEST_UNANSWERED with its ticket and kind.
TEST_F(CommandExchangeTest, EveryRequestEndsWithExactlyOneMessage) {
  timing::ScopedTimeScale faster(0.1); // a refused connection gives up after ~0.1 s
  const json refused = {{"refuse_connections", true}};
  const json broken = {{"broken_xml", true}};
  auto volumes = [](WindowHandle w) {
    return StartReadVolumeList(w, 0, std::make_shared<VolumeInfo>());
  };
  const std::vector<EndingCase> cases = {
      {"volume list, refused connection", refused, volumes, WM_REQUEST_UNANSWERED, 0,
       QueryKind::VolumeList, CommandIndex::None},
      {"volume list, broken XML", HttpFault("cgi_Status_Volume_Info", broken), volumes,
       WM_REQUEST_UNANSWERED, 0, QueryKind::VolumeList, CommandIndex::None},
      {"volume list, answered", json::object(), volumes, WM_QUERY_RESULT, kResultSuccess,
       QueryKind::VolumeList, CommandIndex::None},
      {"login, dropped connection", HttpFault("login", {{"drop", true}}),
       [](WindowHandle w) { return StartLogIn(w, 0, 0); }, WM_REQUEST_UNANSWERED, 0,
       QueryKind::LoginLogout, CommandIndex::None},
      {"wizard login, refused connection", refused,
       [](WindowHandle w) { return StartLogIn(w, 0, 1); }, WM_REQUEST_UNANSWERED, 0,
       QueryKind::LoginLogout, CommandIndex::None},
      {"user access, status 302", HttpFault("cgi_get_user_access", {{"status", 302}}),
       [](WindowHandle w) { return StartReadUserAccess(w, 0); }, WM_REQUEST_UNANSWERED, 0,
       QueryKind::UserAccess, CommandIndex::None},
      {"USB share list, HTTP/1.1", HttpFault("cgi_get_share_info2", {{"http11", true}}),
       [](WindowHandle w) { return StartReadShareList(w, 0, 1); }, WM_REQUEST_UNANSWERED, 0,
       QueryKind::ShareList, CommandIndex::None},
      {"remount, broken XML", HttpFault("cgi_Disk_Remount", broken),
       [](WindowHandle w) { return StartRemountDisks(w, 0); }, WM_REQUEST_UNANSWERED, 0,
       QueryKind::DiskCommand, CommandIndex::None},
      {"format state, refused connection", refused,
       [](WindowHandle w) { return StartReadFormatState(w, 0); }, WM_REQUEST_UNANSWERED, 0,
       QueryKind::DiskCommand, CommandIndex::None},
      {"format state, broken XML", HttpFault("dm_read_state.xml", broken),
       [](WindowHandle w) { return StartReadFormatState(w, 0); }, WM_REQUEST_UNANSWERED, 0,
       QueryKind::DiskCommand, CommandIndex::None},
      // Kind 3 always reports through its command result.
      {"time zone, refused connection", refused,
       [](WindowHandle w) { return StartSetTimeZone(w, 0, 3); }, WM_COMMAND_RESULT, kResultFailure,
       QueryKind::SetupCommand, CommandIndex::SetTimeZone},
      {"disk information, broken XML", HttpFault("current_hd_info.xml", broken),
       [](WindowHandle w) { return StartReadDiskInfo(w, 0); }, WM_COMMAND_RESULT, kResultFailure,
       QueryKind::SetupCommand, CommandIndex::ReadDiskInfo},
  };
  SetCurrentCredentials(MakeCredentials("admin", ""));
  for (const EndingCase &c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_TRUE(sim.SetFaults("alpha", c.faults)) << sim.Error();
    const Ticket ticket = c.start(window.Handle());
    ASSERT_NE(ticket, 0u);
    // Whatever the worker posts is queued once it has ended.
    ASSERT_TRUE(DrainWorkers(20s));
    std::vector<Message> endings;
    for (const Message &message : window.TakeAll()) {
      if (IsEnding(message.message)) {
        endings.push_back(message);
      }
      if (message.message == WM_QUERY_RESULT) {
        std::unique_ptr<CQuery> query = TakeQuery(message);
        ASSERT_TRUE(query);
        EXPECT_EQ(query->ticket, ticket);
      }
      test::Release(message);
    }
    ASSERT_EQ(endings.size(), 1u);
    const Message &end = endings[0];
    EXPECT_EQ(end.message, c.ending);
    if (c.ending == WM_REQUEST_UNANSWERED) {
      EXPECT_EQ(end.wParam, ticket);
      EXPECT_EQ(end.lParam, static_cast<LPARAM>(c.kind));
    } else {
      EXPECT_EQ(end.wParam, c.wParam);
    }
    if (c.ending == WM_COMMAND_RESULT) {
      EXPECT_EQ(end.lParam, static_cast<LPARAM>(c.index));
    }
  }
}

// A caller that gives up on a volume list request and starts a new one with
// a new list drops its share of the old list; the older request's worker
// still fills it, and it is freed when the older request is done with it.
TEST_F(CommandExchangeTest, AVolumeListOutlivesItsCallersInterest) {
  ASSERT_TRUE(sim.SetFaults("alpha", HttpFault("cgi_Status_Volume_Info", {{"delay_ms", 300}})));
  SetCurrentCredentials(MakeCredentials("admin", ""));
  auto older = std::make_shared<VolumeInfo>();
  const std::weak_ptr<VolumeInfo> olderList = older;
  const Ticket first = StartReadVolumeList(window.Handle(), 0, older);
  ASSERT_NE(first, 0u);
  older.reset(); // the caller moves on
  auto newer = std::make_shared<VolumeInfo>();
  const Ticket second = StartReadVolumeList(window.Handle(), 0, newer);
  ASSERT_NE(second, 0u);

  std::map<Ticket, std::unique_ptr<CQuery>> results;
  for (int i = 0; i < 2; ++i) {
    const auto message = test::Await(window, WM_QUERY_RESULT);
    ASSERT_TRUE(message);
    std::unique_ptr<CQuery> query = TakeQuery(*message);
    ASSERT_TRUE(query);
    const Ticket ticket = query->ticket;
    results[ticket] = std::move(query);
  }
  ASSERT_EQ(results.count(first), 1u);
  ASSERT_EQ(results.count(second), 1u);
  for (const Ticket ticket : {first, second}) {
    const std::shared_ptr<VolumeInfo> &list = results[ticket]->resultList;
    ASSERT_TRUE(list);
    EXPECT_EQ(list->volume, 1);
    ASSERT_TRUE(list->next);
    EXPECT_EQ(list->next->volume, 2);
  }
  EXPECT_EQ(results[second]->resultList, newer);
  results.clear();
  EXPECT_TRUE(olderList.expired()) << "the older list goes with its request";
  EXPECT_EQ(newer.use_count(), 1);
}

TEST_F(CommandExchangeTest, NoBoxAtTheIndexStartsNothing) {
  SetCurrentCredentials(MakeCredentials("admin", ""));
  EXPECT_EQ(StartReadWizardInfo(window.Handle(), 5), 0u);
  EXPECT_EQ(StartLogIn(window.Handle(), -1, 0), 0u);
  VolumeSpec first = Spec(1, "sda");
  VolumeSpec second = Spec(2, "sdb");
  VolumeSpec third = Spec(3, "sdc");
  first.next = &second;
  second.next = &third;
  EXPECT_EQ(StartCreateVolumes(window.Handle(), 0, first), 0u);
  EXPECT_EQ(StartChangePassword(window.Handle(), 0, u"", u"01234567890123456"), 0u);
  EXPECT_EQ(CQuery::LiveCount(), liveBefore);
  EXPECT_TRUE(test::WebRequests(sim).empty());
}

// ---- Replies that carry data.

TEST_F(CommandExchangeTest, TheWizardAndDiskRepliesReachTheirRecords) {
  ASSERT_TRUE(sim.Patch("alpha", {{"workgroup", "Caf\xc3\xa9"},
                                  {"timezone", 35},
                                  {"dns1", "0.0.0.0"},
                                  {"description", "Attic"}}));
  SetCurrentCredentials(MakeCredentials("admin", ""));
  ASSERT_NE(StartReadWizardInfo(window.Handle(), 0), 0u);
  auto done = test::Await(window, WM_COMMAND_RESULT);
  ASSERT_TRUE(done);
  EXPECT_EQ(done->wParam, kResultSuccess);
  const WizardInfo info = CurrentWizardInfo();
  EXPECT_EQ(FieldText(info.ip, sizeof info.ip), kBoxIp);
  EXPECT_EQ(FieldText(info.workgroup, sizeof info.workgroup), "Caf\xc3\xa9");
  EXPECT_EQ(FieldText(info.description, sizeof info.description), "Attic");
  EXPECT_EQ(FieldText(info.dns1, sizeof info.dns1), "");
  EXPECT_EQ(info.timezone, 35);

  ASSERT_NE(StartReadDiskInfo(window.Handle(), 0), 0u);
  auto disks = test::Await(window, WM_DISK_INFO);
  ASSERT_TRUE(disks);
  std::unique_ptr<HdInfo> hd = TakeHdInfo(disks->wParam);
  EXPECT_EQ(hd->deviceCount, 2);
  EXPECT_EQ(FieldText(hd->disk2Name, sizeof hd->disk2Name), "sdb");
  EXPECT_EQ(hd->disk2Size, 1863);
  done = test::Await(window, WM_COMMAND_RESULT);
  ASSERT_TRUE(done);
  EXPECT_EQ(done->lParam, 9);

  ASSERT_NE(StartReadShareList(window.Handle(), 0, 1), 0u);
  auto shares = test::Await(window, WM_QUERY_RESULT);
  ASSERT_TRUE(shares);
  EXPECT_EQ(shares->wParam, kResultSuccess);
  test::Release(*shares);
  const std::vector<ShareEntry> list = ShareList::Instance().Snapshot();
  ASSERT_EQ(list.size(), 2u);
  EXPECT_EQ(list[0].name, u"Public");
  EXPECT_EQ(list[1].name, u"usbdisk1");
}

TEST_F(CommandExchangeTest, StopFileBrowserReportsAfterItsPause) {
  timing::ScopedTimeScale faster(0.1);
  SetCurrentCredentials(MakeCredentials("admin", ""));
  ASSERT_NE(StartStopFileBrowser(window.Handle(), 0), 0u);
  const auto step = test::Await(window, WM_DISK_STEP_RESULT);
  ASSERT_TRUE(step);
  EXPECT_EQ(step->wParam, 1u);
  EXPECT_EQ(step->lParam, 10);
}

TEST_F(CommandExchangeTest, TheFormatSequenceRunsToItsEnd) {
  // As the format-progress dialog drives it: stop the file browser, create,
  // poll the state until it ends, remount, check the remount, finish.
  ASSERT_TRUE(sim.Patch("alpha", {{"format_seconds", 1}, {"volumes", json::array()}}));
  timing::ScopedTimeScale faster(0.1);
  SetCurrentCredentials(MakeCredentials("admin", ""));
  const WindowHandle w = window.Handle();
  ASSERT_NE(StartStopFileBrowser(w, 0), 0u);
  auto step = test::Await(window, WM_DISK_STEP_RESULT);
  ASSERT_TRUE(step);
  EXPECT_EQ(step->wParam, 1u);

  VolumeSpec second = Spec(2, "sdb");
  VolumeSpec first = Spec(1, "sda");
  first.next = &second;
  ASSERT_NE(StartCreateVolumes(w, 0, first), 0u);
  const auto created = test::Await(window, WM_FORMAT_CREATE_RESULT);
  ASSERT_TRUE(created);
  EXPECT_NE(created->wParam, 0u);
  EXPECT_EQ(created->lParam, 11);

  WPARAM state = 1;
  std::vector<LPARAM> percents;
  for (int poll = 0; poll < 50 && state == 1; ++poll) {
    std::this_thread::sleep_for(100ms);
    ASSERT_NE(StartReadFormatState(w, 0), 0u);
    const auto progress = test::Await(window, WM_FORMAT_PROGRESS);
    ASSERT_TRUE(progress);
    state = progress->wParam;
    percents.push_back(progress->lParam);
  }
  EXPECT_EQ(state, 2u);
  EXPECT_EQ(percents.back(), 100);
  EXPECT_TRUE(std::is_sorted(percents.begin(), percents.end()));

  const std::pair<Ticket (*)(WindowHandle, std::int32_t), LPARAM> steps[] = {
      {&StartRemountDisks, 13}, {&StartReadRemountState, 14}, {&StartFinishFormatting, 15}};
  for (const auto &[start, index] : steps) {
    ASSERT_NE(start(w, 0), 0u);
    step = test::Await(window, WM_DISK_STEP_RESULT);
    ASSERT_TRUE(step);
    EXPECT_NE(step->wParam, 0u);
    EXPECT_EQ(step->lParam, index);
  }
  EXPECT_EQ(sim.Box("alpha")->at("volumes").size(), 2u);
}

// ---- The connect sequence.

std::unique_ptr<CQuery> AwaitQuery(MessageQueueTarget &window, Ticket ticket,
                                   std::chrono::milliseconds timeout = 20s) {
  const auto message = test::Await(window, WM_QUERY_RESULT, timeout);
  if (!message) {
    return nullptr;
  }
  std::unique_ptr<CQuery> query = TakeQuery(*message);
  EXPECT_TRUE(query);
  if (query) {
    EXPECT_EQ(query->ticket, ticket);
    EXPECT_EQ(static_cast<WPARAM>(message->wParam), query->loginFlag == -1 ? 0u : 1u);
  }
  return query;
}

class ConnectSequenceTest : public CommandExchangeTest {
protected:
  // Discovery and the credential check, as the main window runs them.
  int Connect(std::u16string_view user, std::u16string_view password) {
    timing::ScopedTimeScale faster(0.25);
    const Ticket discovery = StartDiscovery(window.Handle());
    EXPECT_NE(discovery, 0u);
    EXPECT_TRUE(AwaitQuery(window, discovery, 40s));
    int index = -1;
    const std::vector<NasDevice> devices = DeviceList::Instance().Snapshot();
    for (std::size_t i = 0; i < devices.size(); ++i) {
      if (FieldText(devices[i].name, sizeof devices[i].name) == "alpha") {
        index = static_cast<int>(i);
      }
    }
    EXPECT_GE(index, 0);
    const Ticket check = StartCredentialCheck(window.Handle(), user, password, index);
    EXPECT_NE(check, 0u);
    EXPECT_TRUE(AwaitQuery(window, check));
    SetCurrentCredentials(MakeCredentials(Utf16ToUtf8(user), Utf16ToUtf8(password)));
    return index;
  }
};

TEST_F(ConnectSequenceTest, AdministratorLogsInReadsVolumesAndLogsOut) {
  const int index = Connect(u"admin", u"");
  ASSERT_GE(index, 0);

  const Ticket login = StartLogIn(window.Handle(), index, 0);
  ASSERT_NE(login, 0u);
  std::unique_ptr<CQuery> loggedIn = AwaitQuery(window, login);
  ASSERT_TRUE(loggedIn);
  EXPECT_EQ(loggedIn->loginFlag, -1);

  const auto volumes = std::make_shared<VolumeInfo>();
  const Ticket list = StartReadVolumeList(window.Handle(), index, volumes);
  ASSERT_NE(list, 0u);
  ASSERT_TRUE(AwaitQuery(window, list));
  EXPECT_EQ(volumes->volume, 1);
  EXPECT_EQ(volumes->total, 960000000);
  ASSERT_TRUE(volumes->next);
  EXPECT_EQ(volumes->next->volume, 2);
  EXPECT_EQ(volumes->next->used, 2000);
  EXPECT_FALSE(volumes->next->next);
  ASSERT_EQ(sim.Box("alpha")->at("sessions").size(), 1u);

  const Ticket logout = StartLogOut(window.Handle(), index);
  ASSERT_NE(logout, 0u);
  ASSERT_TRUE(AwaitQuery(window, logout));
  EXPECT_TRUE(sim.Box("alpha")->at("sessions").empty());
}

TEST_F(ConnectSequenceTest, AUserReadsAccessRightsThenVolumes) {
  const int index = Connect(u"bob", u"a&b=c");
  ASSERT_GE(index, 0);
  const Ticket login = StartLogIn(window.Handle(), index, 0);
  ASSERT_TRUE(AwaitQuery(window, login));
  const Ticket access = StartReadUserAccess(window.Handle(), index);
  std::unique_ptr<CQuery> rights = AwaitQuery(window, access);
  ASSERT_TRUE(rights);
  EXPECT_EQ(rights->accessText, u"1,0,1,1,0,1");
  const auto volumes = std::make_shared<VolumeInfo>();
  ASSERT_TRUE(AwaitQuery(window, StartReadVolumeList(window.Handle(), index, volumes)));
  EXPECT_EQ(volumes->volume, 1);
  ASSERT_TRUE(AwaitQuery(window, StartLogOut(window.Handle(), index)));
}

TEST_F(CommandExchangeTest, AnAccountInUseFailsTheLoginWithFlagFive) {
  ASSERT_TRUE(sim.Patch("alpha", {{"sessions", {{{"user", "admin"}, {"peer", "10.9.9.9"}}}}}));
  SetCurrentCredentials(MakeCredentials("admin", ""));
  const Ticket login = StartLogIn(window.Handle(), 0, 0);
  std::unique_ptr<CQuery> refused = AwaitQuery(window, login);
  ASSERT_TRUE(refused);
  EXPECT_EQ(refused->loginFlag, 5);

  // A wizard login answers by WM_COMMAND_RESULT for index 19 instead.
  ASSERT_NE(StartLogIn(window.Handle(), 0, 1), 0u);
  auto command = test::Await(window, WM_COMMAND_RESULT);
  ASSERT_TRUE(command);
  EXPECT_EQ(command->wParam, kResultFailure);
  EXPECT_EQ(command->lParam, 19);
  ASSERT_TRUE(sim.Patch("alpha", {{"sessions", json::array()}}));
  ASSERT_NE(StartLogIn(window.Handle(), 0, 1), 0u);
  command = test::Await(window, WM_COMMAND_RESULT);
  ASSERT_TRUE(command);
  EXPECT_EQ(command->wParam, kResultSuccess);
}

} // namespace
