// A credential check whose datagram cannot leave (its adapter went down
// after discovery) says so, then waits as usual and ends as a refusal.
#include <gtest/gtest.h>

#include <cstring>

#include "nas/device_list.h"
#include "nas/query.h"
#include "nas/udp/adapter_table.h"
#include "nas/udp/credential_check.h"
#include "peer_namespace.h"
#include "platform/message_box.h"
#include "platform/message_queue_target.h"
#include "support/temp_folder.h"
#include "worker/private_messages.h"

using namespace corvesta;
using namespace std::chrono_literals;

TEST(CredentialCheckSendFailure, ReportsTheFailedSendThenEndsUnanswered) {
  test::ScopedAppDataFolder appData;
  ScopedMessageBoxRecorder boxes;
  MessageQueueTarget window;
  ASSERT_TRUE(test::Shell("ip link add cvsf type veth peer name cvsfp"));
  struct Remove {
    ~Remove() { test::Shell("ip link del cvsf"); }
  } remove;
  ASSERT_TRUE(test::Shell("ip addr add 10.71.0.1/24 dev cvsf && ip link set cvsf up"));

  // The state a discovery through that adapter would have left.
  AdapterTable table = BuildAdapterTable(ListNetworkAdapters());
  int adapter = -1;
  for (std::uint32_t i = 0; i < table.count; ++i) {
    if (std::strcmp(table.adapters[i].address, "10.71.0.1") == 0) {
      adapter = static_cast<int>(i);
    }
  }
  ASSERT_GE(adapter, 0);
  SetCurrentAdapterTable(table);
  SetCurrentRequestTag(NewRequestTag());
  std::uint64_t generation = DeviceList::Instance().Clear();
  DeviceList::Instance().Update(generation, [&](std::vector<NasDevice> &devices) {
    NasDevice &device = devices.emplace_back();
    std::strcpy(device.name, "gone");
    std::strcpy(device.ip, "10.71.0.9");
    std::strcpy(device.netmask, "255.255.255.0");
    device.adapter = adapter;
  });
  ASSERT_TRUE(test::Shell("ip link set cvsf down"));

  const std::int64_t liveBefore = CQuery::LiveCount();
  const Ticket ticket = StartCredentialCheck(window.Handle(), u"admin", u"pw", 0);
  ASSERT_NE(ticket, 0u);
  ASSERT_TRUE(boxes->WaitForCount(1, 10s));
  EXPECT_TRUE(test::WaitUntil(
      [&] { return CQuery::LiveCount() == liveBefore && CQuery::RunningCount() == 0; }, 5s));
  std::vector<MessageBoxRequest> shown = boxes->Requests();
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].text, u"result_sendto failed.");
  // The failed send brings no verdict: the check ends unanswered, and no
  // refusal is claimed.
  const std::vector<Message> messages = window.TakeAll();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].message, WM_REQUEST_UNANSWERED);
  EXPECT_EQ(messages[0].wParam, ticket);
}
