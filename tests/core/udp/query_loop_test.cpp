// Many credential checks started one after the other while earlier ones
// answer: every accepted query reaches the window once and is deleted there,
// every refused one is deleted by its own worker, nothing is left behind.
#include <gtest/gtest.h>

#include <set>

#include "app/settings_keys.h"
#include "app/settings_store.h"
#include "nas/protocol_timing.h"
#include "nas/query.h"
#include "nas/udp/credential_check.h"
#include "platform/message_box.h"
#include "support/nas_sim_process.h"
#include "support/temp_folder.h"
#include "udp_sim_helpers.h"
#include "worker/message_store.h"
#include "worker/private_messages.h"

using namespace corvesta;
using namespace std::chrono_literals;
using corvesta::test::NasSimProcess;

TEST(QueryLoop, CredentialChecksStartedAndDeletedWhileResultsArrive) {
  test::ScopedAppDataFolder appData;
  ScopedMessageBoxRecorder boxes;
  MessageQueueTarget window;
  NasSimProcess sim;
  ASSERT_TRUE(sim.Start(NasSimProcess::MakeState(
      {NasSimProcess::MakeBox("accepts", "127.0.0.2", "00:00:00:00:00:a1", "secret"),
       NasSimProcess::MakeBox("refuses", "127.0.0.3", "00:00:00:00:00:a2", "secret")})))
      << sim.Error();
  {
    timing::ScopedTimeScale faster(0.25);
    ASSERT_TRUE(test::Discover(window));
  }
  const int accepts = test::DeviceIndexByName("accepts");
  const int refuses = test::DeviceIndexByName("refuses");
  ASSERT_GE(accepts, 0);
  ASSERT_GE(refuses, 0);
  ASSERT_TRUE(settings::Write(settings::kSectionCurrent, settings::kKeyServName, u"refuses"));

  const std::int64_t liveBefore = CQuery::LiveCount();
  const std::size_t storedBefore = CMsg::Instance().Size();
  constexpr int kChecks = 160;
  constexpr std::int64_t kInFlight = 12;
  std::set<Ticket> acceptedTickets;
  std::set<Ticket> refusedTickets;
  std::set<Ticket> answered;
  std::set<Ticket> refusals;
  std::set<Ticket> unanswered;
  auto drain = [&] {
    for (const Message &message : window.TakeAll()) {
      if (message.message == WM_REQUEST_UNANSWERED) {
        EXPECT_TRUE(unanswered.insert(message.wParam).second) << "ended twice";
        continue;
      }
      ASSERT_EQ(message.message, WM_QUERY_RESULT);
      auto query = TakeQuery(message);
      ASSERT_TRUE(query);
      const bool accepted = message.wParam == kResultSuccess;
      EXPECT_EQ(query->deviceIndex, accepted ? accepts : refuses);
      EXPECT_TRUE((accepted ? answered : refusals).insert(query->ticket).second)
          << "answered twice";
    }
  };
  for (int i = 0; i < kChecks; ++i) {
    // Bounded in flight: wait for earlier checks to end before starting more.
    ASSERT_TRUE(test::WaitUntil(
        [&] {
          drain();
          return CQuery::LiveCount() - liveBefore < kInFlight;
        },
        20s));
    const bool good = i % 2 == 0;
    Ticket ticket = StartCredentialCheck(window.Handle(), u"admin", good ? u"secret" : u"wrong",
                                         good ? accepts : refuses);
    ASSERT_NE(ticket, 0u);
    if (good) {
      EXPECT_TRUE(acceptedTickets.insert(ticket).second) << "ticket repeated";
    } else {
      EXPECT_TRUE(refusedTickets.insert(ticket).second) << "ticket repeated";
    }
  }
  ASSERT_TRUE(test::WaitUntil(
      [&] {
        drain();
        return answered.size() == acceptedTickets.size() &&
               refusals.size() == refusedTickets.size();
      },
      30s))
      << answered.size() << " of " << acceptedTickets.size() << " accepted, " << refusals.size()
      << " of " << refusedTickets.size() << " refused";
  EXPECT_EQ(answered, acceptedTickets);
  EXPECT_EQ(refusals, refusedTickets);
  EXPECT_TRUE(unanswered.empty()) << "every check got its verdict";
  EXPECT_EQ(boxes->Count(), refusedTickets.size());
  EXPECT_TRUE(test::WaitUntil([&] { return CQuery::LiveCount() == liveBefore; }, 10s))
      << CQuery::LiveCount() - liveBefore << " queries left";
  EXPECT_EQ(CMsg::Instance().Size(), storedBefore);
}
