#include <gtest/gtest.h>

#include <cstring>

#include "nas/current_credentials.h"
#include "nas/device_list.h"
#include "nas/replies/format_state.h"
#include "nas/replies/hd_info.h"
#include "nas/replies/share_list.h"
#include "nas/replies/volume_info.h"
#include "nas/replies/wizard_info.h"
#include "parse_harness.h"
#include "platform/text_codec.h"
#include "support/clean_records.h"
#include "worker/private_messages.h"

using namespace corvesta;
using corvesta::test::OkReply;
using corvesta::test::Parsed;
using corvesta::test::ParseHarness;

namespace {

template <std::size_t N> std::string_view Text(const char (&field)[N]) {
  return FieldText(field, N);
}

// The suites that fill the process-wide records start from empty ones and
// leave none filled.
class RecordsTest : public ::testing::Test {
  test::CleanRecords m_records;
};
class WizardInfoReply : public RecordsTest {};
class LanAddressReply : public RecordsTest {};
class ShareListReply : public RecordsTest {};
class PasswordChangeReply : public RecordsTest {};

std::vector<Message> Only(const std::vector<Message> &messages, UINT number) {
  std::vector<Message> found;
  for (const Message &message : messages) {
    if (message.message == number) {
      found.push_back(message);
    }
  }
  return found;
}

// ---- Wizard information.

struct WizardCase {
  const char *name;
  std::string body;
  WizardInfo expected;
  std::uint32_t result = 0;
};

WizardInfo Wizard(std::string_view ip, std::string_view netmask, std::string_view gateway,
                  std::int32_t dhcp, std::string_view dns1, std::string_view dns2,
                  std::string_view name, std::string_view workgroup, std::string_view description,
                  std::int32_t timezone) {
  WizardInfo info;
  CopyToField(info.ip, sizeof info.ip, ip);
  CopyToField(info.netmask, sizeof info.netmask, netmask);
  CopyToField(info.gateway, sizeof info.gateway, gateway);
  info.dhcp = dhcp;
  CopyToField(info.dns1, sizeof info.dns1, dns1);
  CopyToField(info.dns2, sizeof info.dns2, dns2);
  CopyToField(info.name, sizeof info.name, name);
  CopyToField(info.workgroup, sizeof info.workgroup, workgroup);
  CopyToField(info.description, sizeof info.description, description);
  info.timezone = timezone;
  return info;
}

std::string Lan(std::string_view inner) {
  return "<lan>" + std::string(inner) + "</lan>";
}
std::string System(std::string_view inner) {
  return "<system>" + std::string(inner) + "</system>";
}

const std::string kLanFull = Lan("<dhcp_enable>1</dhcp_enable><ip>192.168.1.20</ip>"
                                 "<netmask>255.255.255.0</netmask><gateway>192.168.1.1</gateway>"
                                 "<dns1>8.8.8.8</dns1><dns2>8.8.4.4</dns2>");
const std::string kSystemFull =
    System("<name>store1</name><workgroup>HOME</workgroup><description>Attic box</description>"
           "<timezone>35</timezone>");

WizardInfo FullLanWith(std::string_view name, std::string_view workgroup,
                       std::string_view description, std::int32_t timezone) {
  return Wizard("192.168.1.20", "255.255.255.0", "192.168.1.1", 1, "8.8.8.8", "8.8.4.4", name,
                workgroup, description, timezone);
}

std::vector<WizardCase> WizardCases() {
  return {
      {"everything", "<wizard>" + kLanFull + kSystemFull + "</wizard>",
       FullLanWith("store1", "HOME", "Attic box", 35)},
      {"empty gateway stays empty",
       "<wizard>" +
           Lan("<dhcp_enable>0</dhcp_enable><ip>10.0.0.5</ip><netmask>255.0.0.0</netmask>"
               "<gateway></gateway><dns1>10.0.0.1</dns1><dns2></dns2>") +
           kSystemFull + "</wizard>",
       Wizard("10.0.0.5", "255.0.0.0", "", 0, "10.0.0.1", "", "store1", "HOME", "Attic box", 35)},
      {"dns 0.0.0.0 is no server",
       "<wizard>" +
           Lan("<dhcp_enable>0</dhcp_enable><ip>10.0.0.5</ip><netmask>255.0.0.0</netmask>"
               "<gateway>10.0.0.1</gateway><dns1>0.0.0.0</dns1><dns2>1.1.1.1</dns2>") +
           kSystemFull + "</wizard>",
       Wizard("10.0.0.5", "255.0.0.0", "10.0.0.1", 0, "", "1.1.1.1", "store1", "HOME", "Attic box",
              35)},
      {"missing gateway reads the netmask found last",
       "<wizard>" +
           Lan("<dhcp_enable>0</dhcp_enable><ip>10.0.0.5</ip><netmask>255.0.0.0</netmask>"
               "<dns1>10.0.0.1</dns1>") +
           kSystemFull + "</wizard>",
       Wizard("10.0.0.5", "255.0.0.0", "255.0.0.0", 0, "10.0.0.1", "10.0.0.1", "store1", "HOME",
              "Attic box", 35)},
      {"three-byte characters are decoded",
       "<wizard>" + kLanFull +
           System("<name>\xe6\x97\xa5\xe6\x9c\xac</name><workgroup>B\xc3\xbcro</workgroup>"
                  "<description>d</description><timezone>-5</timezone>") +
           "</wizard>",
       FullLanWith("\xe6\x97\xa5\xe6\x9c\xac", "B\xc3\xbcro", "d", -5)},
      {"too long texts are cut at a character boundary",
       "<wizard>" + kLanFull +
           System("<name>abcdefghijklmn\xc3\xa9</name><workgroup>w</workgroup>"
                  "<description>0123456789012345678901234567890123</description>"
                  "<timezone>1</timezone>") +
           "</wizard>",
       [] {
         WizardInfo cut = FullLanWith("abcdefghijklmn", "w", "012345678901234567890123456789", 1);
         cut.identityCut = true; // sent back, the texts would shorten the box's own
         return cut;
       }()},
      {"missing system children read the one found last",
       "<wizard>" + kLanFull + System("<name>n</name><workgroup>12 angry</workgroup>") +
           "</wizard>",
       FullLanWith("n", "12 angry", "12 angry", 12)},
      // Replies that cannot be read whole fail with an empty record, so that
      // nobody takes empty fields for the box's settings.
      {"a four-byte sequence anywhere",
       "<wizard>" + kLanFull + System("<name>x</name><description>\xf0\x9f\x98\x80</description>") +
           "</wizard>",
       WizardInfo{}, 1},
      {"a four-byte sequence in a comment",
       "<wizard>" + kLanFull + kSystemFull + "</wizard><!-- \xf0\x9f\x93\x81 -->", WizardInfo{}, 1},
      {"a bad following byte", "<wizard>" + kLanFull + kSystemFull + "</wizard>\xc3(", WizardInfo{},
       1},
      {"a sequence cut by the end", "<wizard>" + kLanFull + kSystemFull + "</wizard>\xe6\x97",
       WizardInfo{}, 1},
      {"root never closed", "<wizard>" + kLanFull + kSystemFull, WizardInfo{}, 1},
      {"document cut in system", "<wizard>" + kLanFull + "<system><name>store1</name><workgroup>HO",
       WizardInfo{}, 1},
      {"no system", "<wizard>" + kLanFull + "</wizard>", WizardInfo{}, 1},
      {"no lan", "<wizard>" + kSystemFull + "</wizard>", WizardInfo{}, 1},
      {"system before lan", "<wizard>" + kSystemFull + kLanFull + "</wizard>", WizardInfo{}, 1},
      {"no document", "", WizardInfo{}, 1},
  };
}

TEST_F(WizardInfoReply, FillsTheRecordAsTheBoxWroteIt) {
  for (const WizardCase &c : WizardCases()) {
    SCOPED_TRACE(c.name);
    SetCurrentWizardInfo(
        Wizard("9.9.9.9", "9.9.9.9", "9.9.9.9", 7, "9.9.9.9", "9.9.9.9", "old", "old", "old", 99));
    ParseHarness harness;
    Parsed parsed = harness.Run(QueryKind::SetupCommand, CommandIndex::ReadWizard, OkReply(c.body));
    EXPECT_EQ(parsed.outcome.result, c.result);
    EXPECT_TRUE(parsed.messages.empty()); // the run reports kind 3
    const WizardInfo info = CurrentWizardInfo();
    EXPECT_EQ(Text(info.ip), Text(c.expected.ip));
    EXPECT_EQ(Text(info.netmask), Text(c.expected.netmask));
    EXPECT_EQ(Text(info.gateway), Text(c.expected.gateway));
    EXPECT_EQ(info.dhcp, c.expected.dhcp);
    EXPECT_EQ(Text(info.dns1), Text(c.expected.dns1));
    EXPECT_EQ(Text(info.dns2), Text(c.expected.dns2));
    EXPECT_EQ(Text(info.name), Text(c.expected.name));
    EXPECT_EQ(Text(info.workgroup), Text(c.expected.workgroup));
    EXPECT_EQ(Text(info.description), Text(c.expected.description));
    EXPECT_EQ(info.timezone, c.expected.timezone);
    EXPECT_EQ(info.identityCut, c.expected.identityCut);
    EXPECT_EQ(info.description[sizeof info.description - 1], '\0');
  }
}

// ---- LAN address.

NasDevice Device(std::string_view ip) {
  NasDevice device;
  CopyToField(device.ip, sizeof device.ip, ip);
  CopyToField(device.netmask, sizeof device.netmask, "255.255.255.0");
  CopyToField(device.gateway, sizeof device.gateway, "192.168.1.1");
  CopyToField(device.mac, sizeof device.mac, "00:11:22:33:44:55");
  return device;
}

std::uint64_t ListWithOneDevice() {
  const std::uint64_t generation = DeviceList::Instance().Clear();
  DeviceList::Instance().Update(generation, [](std::vector<NasDevice> &devices) {
    devices.push_back(Device("192.168.1.20"));
  });
  return generation;
}

struct LanCase {
  const char *name;
  std::string body;
  std::uint32_t result;
  std::string_view ip, netmask, gateway; // expected in device and WizardInfo
};

TEST_F(LanAddressReply, StoresTheAddressOrFailsWithoutChange) {
  const std::vector<LanCase> cases = {
      {"address stored",
       "<info><ip1>192.168.1.77</ip1><netmask1>255.255.0.0</netmask1>"
       "<gateway1>192.168.0.1</gateway1></info>",
       0, "192.168.1.77", "255.255.0.0", "192.168.0.1"},
      {"empty gateway stored empty",
       "<info><ip1>192.168.1.77</ip1><netmask1>255.255.0.0</netmask1><gateway1/></info>", 0,
       "192.168.1.77", "255.255.0.0", ""},
      {"no address yet", "<info><ip1>0.0.0.0</ip1><netmask1>0.0.0.0</netmask1></info>", 1,
       "192.168.1.20", "255.255.255.0", "192.168.1.1"},
      {"root is not info", "<lan><ip1>192.168.1.77</ip1></lan>", 1, "192.168.1.20", "255.255.255.0",
       "192.168.1.1"},
  };
  for (const LanCase &c : cases) {
    SCOPED_TRACE(c.name);
    const std::uint64_t generation = ListWithOneDevice();
    WizardInfo before;
    CopyToField(before.ip, sizeof before.ip, "192.168.1.20");
    CopyToField(before.netmask, sizeof before.netmask, "255.255.255.0");
    CopyToField(before.gateway, sizeof before.gateway, "192.168.1.1");
    CopyToField(before.name, sizeof before.name, "kept");
    SetCurrentWizardInfo(before);
    ParseHarness harness;
    Parsed parsed = harness.Run(QueryKind::SetupCommand, CommandIndex::ReadLanAddress,
                                OkReply(c.body), [&](CQuery &query) {
                                  query.deviceIndex = 0;
                                  query.discoveryGeneration = generation;
                                });
    EXPECT_EQ(parsed.outcome.result, c.result);
    const NasDevice device = *DeviceList::Instance().At(0);
    EXPECT_EQ(Text(device.ip), c.ip);
    EXPECT_EQ(Text(device.netmask), c.netmask);
    EXPECT_EQ(Text(device.gateway), c.gateway);
    const WizardInfo info = CurrentWizardInfo();
    EXPECT_EQ(Text(info.ip), c.ip);
    EXPECT_EQ(Text(info.netmask), c.netmask);
    EXPECT_EQ(Text(info.gateway), c.gateway);
    EXPECT_EQ(Text(info.name), "kept");
  }
}

TEST_F(LanAddressReply, ARebuiltDeviceListIsLeftAlone) {
  const std::uint64_t generation = ListWithOneDevice();
  const std::uint64_t rebuilt = DeviceList::Instance().Clear();
  DeviceList::Instance().Update(rebuilt, [](std::vector<NasDevice> &devices) {
    devices.push_back(Device("10.1.1.1")); // another box now sits at index 0
  });
  ParseHarness harness;
  Parsed parsed =
      harness.Run(QueryKind::SetupCommand, CommandIndex::ReadLanAddress,
                  OkReply("<info><ip1>192.168.1.77</ip1><netmask1>255.255.0.0</netmask1>"
                          "<gateway1>192.168.0.1</gateway1></info>"),
                  [&](CQuery &query) {
                    query.deviceIndex = 0;
                    query.discoveryGeneration = generation;
                  });
  EXPECT_EQ(parsed.outcome.result, 0u);
  EXPECT_EQ(Text(DeviceList::Instance().At(0)->ip), "10.1.1.1");
  EXPECT_EQ(Text(CurrentWizardInfo().ip), "192.168.1.77");
}

// The box moved: its next credential check and address change must name it
// by the address it has now, beside its unchanged hardware address.
TEST_F(LanAddressReply, TheWireIdFollowsTheNewAddress) {
  const std::uint64_t generation = DeviceList::Instance().Clear();
  const std::uint8_t before[kWireIdSize] = {0x00, 0x11, 0x22, 0x33, 0x44, 0x55, 192, 168, 1, 20};
  DeviceList::Instance().Update(generation, [&](std::vector<NasDevice> &devices) {
    NasDevice device = Device("192.168.1.20");
    std::memcpy(device.wire_id, before, sizeof before);
    devices.push_back(device);
  });
  struct Case {
    const char *ip1;
    std::uint8_t address[4];
  };
  const Case cases[] = {{"192.168.1.77", {192, 168, 1, 77}},
                        {"10.0.0.255", {10, 0, 0, 255}},
                        {"not an address", {10, 0, 0, 255}}}; // stays as it was
  for (const Case &c : cases) {
    SCOPED_TRACE(c.ip1);
    ParseHarness harness;
    harness.Run(QueryKind::SetupCommand, CommandIndex::ReadLanAddress,
                OkReply(std::string("<info><ip1>") + c.ip1 +
                        "</ip1><netmask1>255.255.0.0</netmask1><gateway1/></info>"),
                [&](CQuery &query) {
                  query.deviceIndex = 0;
                  query.discoveryGeneration = generation;
                });
    const NasDevice device = *DeviceList::Instance().At(0);
    EXPECT_EQ(std::memcmp(device.wire_id, before, 6), 0);
    EXPECT_EQ(std::memcmp(device.wire_id + kWireIdAddressOffset, c.address, 4), 0);
  }
}

// ---- Format state, format creation, disk steps.

struct FormatStateCase {
  const char *name;
  std::string body;
  WPARAM state;
  LPARAM percent;
};

TEST(FormatStateReply, CombinesFinishedAndErrcode) {
  const std::vector<FormatStateCase> cases = {
      {"finished without error",
       "<r><dm_state><finished>1</finished><errcode>1</errcode><percent>100</percent>"
       "</dm_state></r>",
       2, 100},
      {"finished with error",
       "<r><dm_state><finished>1</finished><errcode>0</errcode><percent>100</percent>"
       "</dm_state></r>",
       0, 100},
      {"running",
       "<r><dm_state><finished>0</finished><errcode>1</errcode><percent>42</percent>"
       "</dm_state></r>",
       1, 42},
      {"missing errcode is an error",
       "<r><dm_state><finished>0</finished><percent>42</percent></dm_state></r>", 0, 42},
      {"errcode before finished is not read",
       "<r><dm_state><errcode>1</errcode><finished>0</finished><percent>7</percent>"
       "</dm_state></r>",
       0, 7},
      {"no dm_state", "<r><state>1</state></r>", 0, 0},
  };
  for (const FormatStateCase &c : cases) {
    SCOPED_TRACE(c.name);
    ParseHarness harness;
    Parsed parsed =
        harness.Run(QueryKind::DiskCommand, CommandIndex::ReadFormatState, OkReply(c.body));
    EXPECT_EQ(parsed.outcome.result, 0u);
    ASSERT_EQ(parsed.messages.size(), 1u);
    EXPECT_EQ(parsed.messages[0].message, WM_FORMAT_PROGRESS);
    EXPECT_EQ(parsed.messages[0].wParam, c.state);
    EXPECT_EQ(parsed.messages[0].lParam, c.percent);
  }
}

struct DiskMessageCase {
  const char *name;
  CommandIndex index;
  std::string reply;
  std::uint32_t result;
  std::vector<Message> expected; // window left 0
};

TEST(DiskReplies, PostTheBoxValues) {
  const std::string broken = OkReply("<res>1</res><res>2</res>");
  const std::vector<DiskMessageCase> cases = {
      {"create accepted",
       CommandIndex::CreateVolumes,
       OkReply("<r><res>1</res></r>"),
       0,
       {{0, WM_FORMAT_CREATE_RESULT, 1, 11}}},
      {"create without res",
       CommandIndex::CreateVolumes,
       OkReply("<r><x>1</x></r>"),
       0,
       {{0, WM_FORMAT_CREATE_RESULT, 0, 11}}},
      {"create not well formed",
       CommandIndex::CreateVolumes,
       broken,
       1,
       {{0, WM_FORMAT_CREATE_RESULT, 0, 11}}},
      {"format state not well formed", CommandIndex::ReadFormatState, broken, 1, {}},
      {"remount",
       CommandIndex::RemountDisks,
       OkReply("<r><res>1</res></r>"),
       0,
       {{0, WM_DISK_STEP_RESULT, 1, 13}}},
      {"remount state refused",
       CommandIndex::ReadRemountState,
       OkReply("<r><res>0</res></r>"),
       0,
       {{0, WM_DISK_STEP_RESULT, 0, 14}}},
      {"finish with res 3",
       CommandIndex::FinishFormatting,
       OkReply("<r><res> 3</res></r>"),
       0,
       {{0, WM_DISK_STEP_RESULT, 3, 15}}},
      {"disk step not well formed", CommandIndex::RemountDisks, broken, 1, {}},
      {"file browser stop not well formed", CommandIndex::StopFileBrowser, broken, 1, {}},
  };
  for (const DiskMessageCase &c : cases) {
    SCOPED_TRACE(c.name);
    ParseHarness harness;
    Parsed parsed = harness.Run(QueryKind::DiskCommand, c.index, c.reply);
    EXPECT_EQ(parsed.outcome.result, c.result);
    ASSERT_EQ(parsed.messages.size(), c.expected.size());
    for (std::size_t i = 0; i < c.expected.size(); ++i) {
      EXPECT_EQ(parsed.messages[i].message, c.expected[i].message);
      EXPECT_EQ(parsed.messages[i].wParam, c.expected[i].wParam);
      EXPECT_EQ(parsed.messages[i].lParam, c.expected[i].lParam);
    }
  }
}

// ---- Disk information.

TEST(DiskInfoReply, PostsAHeapCopyOfBothDisks) {
  ParseHarness harness;
  Parsed parsed = harness.Run(
      QueryKind::SetupCommand, CommandIndex::ReadDiskInfo,
      OkReply("<config><hd_info><device_info><device_num>2</device_num>"
              "<item><device_name>sda</device_name><hd_GiB_size>931</hd_GiB_size></item>"
              "<item><device_name>sdb_with_long_name</device_name>"
              "<hd_GiB_size>1863</hd_GiB_size></item>"
              "</device_info></hd_info></config>"));
  EXPECT_EQ(parsed.outcome.result, 0u);
  ASSERT_EQ(parsed.messages.size(), 1u);
  EXPECT_EQ(parsed.messages[0].message, WM_DISK_INFO);
  EXPECT_EQ(parsed.messages[0].lParam, 9);
  std::unique_ptr<HdInfo> info = TakeHdInfo(parsed.messages[0].wParam);
  ASSERT_TRUE(info);
  EXPECT_EQ(info->deviceCount, 2);
  EXPECT_EQ(Text(info->disk1Name), "sda");
  EXPECT_EQ(info->disk1Size, 931);
  EXPECT_EQ(Text(info->disk2Name), "sdb_with_"); // 9 bytes and the terminator
  EXPECT_EQ(info->disk2Size, 1863);
}

TEST(DiskInfoReply, MissingPartsStayZero) {
  const std::vector<std::pair<std::string, std::int32_t>> cases = {
      {"<config><hd_info><device_num>1</device_num>"
       "<item><device_name>sda</device_name><hd_GiB_size>5</hd_GiB_size></item>"
       "</hd_info></config>",
       1},
      {"<config><other/></config>", 0},
  };
  for (const auto &[body, count] : cases) {
    SCOPED_TRACE(body);
    ParseHarness harness;
    Parsed parsed = harness.Run(QueryKind::SetupCommand, CommandIndex::ReadDiskInfo, OkReply(body));
    ASSERT_EQ(parsed.messages.size(), 1u);
    std::unique_ptr<HdInfo> info = TakeHdInfo(parsed.messages[0].wParam);
    EXPECT_EQ(info->deviceCount, count);
    EXPECT_EQ(Text(info->disk1Name), count == 1 ? "sda" : "");
    EXPECT_EQ(info->disk1Size, count == 1 ? 5 : 0);
    EXPECT_EQ(Text(info->disk2Name), "");
    EXPECT_EQ(info->disk2Size, 0);
  }
  ParseHarness harness;
  Parsed broken = harness.Run(QueryKind::SetupCommand, CommandIndex::ReadDiskInfo,
                              OkReply("<hd_info><device_num>1</device_num>"));
  EXPECT_EQ(broken.outcome.result, 1u);
  EXPECT_TRUE(broken.messages.empty());
}

// ---- Volume list.

TEST(VolumeListReply, ThreeItemsFillTheCallersNodeAndTwoMore) {
  auto first = std::make_shared<VolumeInfo>();
  ParseHarness harness;
  Parsed parsed = harness.Run(
      QueryKind::VolumeList, CommandIndex::ReadVolumeList,
      OkReply("<volumes>"
              "<item><volume>1</volume><total_size>5000000000</total_size>"
              "<use_size>1000</use_size></item>"
              "<item><volume>2</volume><total_size>20</total_size><use_size>10</use_size></item>"
              "<item><volume>3</volume><use_size>7</use_size></item>"
              "</volumes>"),
      [&](CQuery &query) { query.resultList = first; });
  ASSERT_TRUE(parsed.handedOver);
  ASSERT_EQ(parsed.messages.size(), 1u);
  EXPECT_EQ(parsed.messages[0].message, WM_QUERY_RESULT);
  EXPECT_EQ(parsed.messages[0].wParam, kResultSuccess);
  ASSERT_TRUE(parsed.query);
  EXPECT_EQ(parsed.query->resultList, first);
  EXPECT_EQ(first->volume, 1);
  EXPECT_EQ(first->total, 5000000000LL);
  EXPECT_EQ(first->used, 1000);
  ASSERT_TRUE(first->next);
  EXPECT_EQ(first->next->volume, 2);
  EXPECT_EQ(first->next->total, 20);
  ASSERT_TRUE(first->next->next);
  EXPECT_EQ(first->next->next->volume, 3);
  EXPECT_EQ(first->next->next->total, 0); // missing total_size
  EXPECT_EQ(first->next->next->used, 7);
  EXPECT_FALSE(first->next->next->next);
}

TEST(VolumeListReply, NotWellFormedPostsNothing) {
  auto first = std::make_shared<VolumeInfo>();
  ParseHarness harness;
  Parsed parsed = harness.Run(QueryKind::VolumeList, CommandIndex::ReadVolumeList,
                              OkReply("<item><volume>1</volume></item><item/>"),
                              [&](CQuery &query) { query.resultList = first; });
  EXPECT_EQ(parsed.outcome.result, 1u);
  EXPECT_FALSE(parsed.handedOver);
  EXPECT_TRUE(parsed.messages.empty());
  EXPECT_EQ(first->volume, 0);
}

// ---- Share list and user access.

TEST_F(ShareListReply, AppendsEveryItemInOrder) {
  ParseHarness harness;
  Parsed parsed = harness.Run(
      QueryKind::ShareList, CommandIndex::ReadShareList,
      OkReply("<shares><item>Public</item><other>x</other><item>\xd0\x9c\xd1\x83\xd0\xb7"
              "\xd1\x8b\xd0\xba\xd0\xb0</item><item>\xe5\x85\xb1\xe6\x9c\x89</item></shares>"));
  ASSERT_TRUE(parsed.handedOver);
  EXPECT_EQ(parsed.storedValue, 0u);
  const std::vector<ShareEntry> shares = ShareList::Instance().Snapshot();
  ASSERT_EQ(shares.size(), 3u);
  EXPECT_EQ(shares[0].name, u"Public");
  EXPECT_EQ(shares[1].name, u"\u041c\u0443\u0437\u044b\u043a\u0430");
  EXPECT_EQ(shares[2].name, u"\u5171\u6709");
  EXPECT_EQ(shares[0].label, u"select");
}

struct ShareCase {
  const char *name;
  QueryKind kind;
  std::string body;
  std::uint32_t result;
  bool posted;
};

TEST_F(ShareListReply, EmptyBrokenAndKindThree) {
  const std::vector<ShareCase> cases = {
      {"no items, USB", QueryKind::ShareList, "<shares></shares>", 0, true},
      {"items, set-up command", QueryKind::SetupCommand, "<s><item>a</item></s>", 0, false},
      {"broken, USB", QueryKind::ShareList, "<s><item>a</item>", 0, false},
      {"broken, set-up command", QueryKind::SetupCommand, "<s><item>a</item>", 1, false},
      {"four-byte sequence, USB", QueryKind::ShareList, "<s><item>\xf0\x9f\x98\x80</item></s>", 0,
       false},
      {"four-byte sequence, set-up command", QueryKind::SetupCommand,
       "<s><item>\xf0\x9f\x98\x80</item></s>", 1, false},
  };
  for (const ShareCase &c : cases) {
    SCOPED_TRACE(c.name);
    ShareList::Instance().Clear();
    ParseHarness harness;
    Parsed parsed = harness.Run(c.kind, CommandIndex::ReadShareList, OkReply(c.body));
    EXPECT_EQ(parsed.outcome.result, c.result);
    EXPECT_EQ(parsed.handedOver, c.posted);
    EXPECT_EQ(Only(parsed.messages, WM_QUERY_RESULT).size(), c.posted ? 1u : 0u);
    const bool filled = c.kind == QueryKind::SetupCommand && c.result == 0;
    EXPECT_EQ(ShareList::Instance().Count(), filled ? 1u : 0u);
  }
}

TEST(UserAccessReply, KeepsTheAuthorityText) {
  ParseHarness harness;
  Parsed parsed = harness.Run(
      QueryKind::UserAccess, CommandIndex::ReadUserAccess,
      OkReply("<user><name>bob</name><authority>1,0,1,1,0,1,1,0,1,1</authority></user>"));
  ASSERT_TRUE(parsed.handedOver);
  ASSERT_TRUE(parsed.query);
  EXPECT_EQ(parsed.query->accessText, u"1,0,1,1,0,1,1,0,1,1");
  EXPECT_EQ(parsed.messages[0].wParam, kResultSuccess);

  Parsed broken = harness.Run(QueryKind::UserAccess, CommandIndex::ReadUserAccess,
                              OkReply("<user><authority>1</authority>"),
                              [](CQuery &query) { query.accessText = u"stale"; });
  EXPECT_FALSE(broken.handedOver);
  EXPECT_TRUE(broken.messages.empty());
  EXPECT_EQ(broken.query->accessText, u"");
}

// ---- Login and logout.

struct LoginCase {
  const char *name;
  std::string body;
  std::uint32_t wizardLogin;
  WPARAM result;
  std::int32_t loginFlag;
};

TEST(LoginReply, SuccessOrTheFlagDigit) {
  const std::vector<LoginCase> cases = {
      {"success", "<login><res>success</res></login>", 0, 0, -1},
      {"success wins over flag", "<r><flag>5</flag>success</r>", 0, 0, -1},
      {"account in use", "<login><res>fail</res><flag>5</flag></login>", 0, 1, 5},
      {"first flag counts", "<login><flag>2</flag><flag>5</flag></login>", 0, 1, 2},
      {"neither word", "<login><res>denied</res></login>", 0, 1, -1},
      {"flag at the very end", "flag", 0, 1, 0},
      {"wizard login success", "success", 1, 0, -1},
      {"wizard login failure", "<flag>5</flag>", 1, 1, 5},
  };
  for (const LoginCase &c : cases) {
    SCOPED_TRACE(c.name);
    ParseHarness harness;
    Parsed parsed = harness.Run(QueryKind::LoginLogout, CommandIndex::LogIn, OkReply(c.body),
                                [&](CQuery &query) { query.wizardLogin = c.wizardLogin; });
    EXPECT_EQ(parsed.outcome.result, 1u); // the login's result is not used
    ASSERT_EQ(parsed.messages.size(), 1u);
    ASSERT_TRUE(parsed.query);
    EXPECT_EQ(parsed.query->loginFlag, c.loginFlag);
    EXPECT_EQ(parsed.messages[0].wParam, c.result);
    if (c.wizardLogin == 1) {
      EXPECT_FALSE(parsed.handedOver);
      EXPECT_EQ(parsed.messages[0].message, WM_COMMAND_RESULT);
      EXPECT_EQ(parsed.messages[0].lParam, 19);
    } else {
      EXPECT_TRUE(parsed.handedOver);
      EXPECT_EQ(parsed.messages[0].message, WM_QUERY_RESULT);
      EXPECT_EQ(parsed.storedValue, c.result);
    }
  }
}

TEST(LogoutReply, SuccessAnywhere) {
  for (const auto &[body, result] :
       std::vector<std::pair<std::string, WPARAM>>{{"<r>success</r>", 0}, {"<r>no</r>", 1}}) {
    ParseHarness harness;
    Parsed parsed = harness.Run(QueryKind::LoginLogout, CommandIndex::LogOut, OkReply(body));
    ASSERT_TRUE(parsed.handedOver);
    EXPECT_EQ(parsed.messages[0].wParam, result);
    EXPECT_EQ(parsed.storedValue, result);
  }
}

// ---- Password change.

TEST_F(PasswordChangeReply, StatusOneMakesTheNewPasswordCurrent) {
  const std::vector<std::pair<std::string, std::uint32_t>> cases = {
      {"<r><status>1</status></r>", 0},
      {"<r><status>0</status></r>", 1},
      {"<r><state>1</state></r>", 1},
  };
  for (const auto &[body, result] : cases) {
    SCOPED_TRACE(body);
    SetCurrentCredentials(MakeCredentials("admin", "old"));
    ParseHarness harness;
    Parsed parsed = harness.Run(
        QueryKind::SetupCommand, CommandIndex::ChangePassword, OkReply(body),
        [](CQuery &query) { CopyToField(query.newPassword, sizeof query.newPassword, "n&w=1"); });
    EXPECT_EQ(parsed.outcome.result, result);
    EXPECT_EQ(CurrentCredentials().Password(), result == 0 ? "n&w=1" : "old");
    EXPECT_EQ(CurrentCredentials().UserName(), "admin");
  }
}

// ---- Commands without a parser.

TEST(ReplyDispatch, ResultsOfCommandsWithoutParser) {
  const struct {
    QueryKind kind;
    CommandIndex index;
    std::uint32_t result;
  } cases[] = {
      {QueryKind::SetupCommand, CommandIndex::SetDeviceIdentity, 0},
      {QueryKind::SetupCommand, CommandIndex::SetTimeZone, 0},
      {QueryKind::SetupCommand, CommandIndex::SetNetwork, 0},
      {QueryKind::SetupCommand, CommandIndex::LockAddress, 0},
      {QueryKind::SetupCommand, CommandIndex::UsbDevice, 0},
      {QueryKind::AddressChange, CommandIndex::None, 1},
      {QueryKind::Discovery, CommandIndex::LogIn, 1},
      {QueryKind::DiskCommand, CommandIndex::LogIn, 0},
      {QueryKind::VolumeList, CommandIndex::LogIn, 0},
      {QueryKind::LoginLogout, CommandIndex::ReadWizard, 0},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(static_cast<int>(c.kind) * 100 + static_cast<int>(c.index));
    ParseHarness harness;
    Parsed parsed = harness.Run(c.kind, c.index, OkReply("garbage <<"));
    EXPECT_EQ(parsed.outcome.result, c.result);
    EXPECT_FALSE(parsed.handedOver);
    EXPECT_TRUE(parsed.messages.empty());
  }
}

} // namespace
