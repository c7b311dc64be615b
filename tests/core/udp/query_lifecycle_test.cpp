#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <map>
#include <random>
#include <set>
#include <thread>

#include "nas/query.h"
#include "nas/take_query.h"
#include "nas/worker_drain.h"
#include "platform/message_queue_target.h"
#include "support/temp_folder.h"
#include "worker/message_store.h"
#include "worker/private_messages.h"

using namespace corvesta;
using namespace std::chrono_literals;
using corvesta::test::WaitUntil;

namespace {

CQuery::Disposition HandOverWithFlag(CQuery &query) {
  query.loginFlag = 7;
  return query.HandOver(kResultFailure);
}

CQuery::Disposition FinishQuietly(CQuery &) {
  return CQuery::Disposition::Finished;
}

CQuery::Disposition ReportThenFinish(CQuery &query) {
  query.Report(WM_SETIP_RESULT, kResultSuccess, static_cast<LPARAM>(QueryKind::AddressChange));
  return CQuery::Disposition::Finished;
}

// Waits until no worker runs; whatever the workers posted is queued by then.
bool WorkersEnded() {
  return DrainWorkers(5s);
}

} // namespace

TEST(QueryLifecycle, AHandedOverQueryReachesItsWindowWithItsTicket) {
  const std::int64_t before = CQuery::LiveCount();
  MessageQueueTarget window;
  Ticket ticket = CQuery::Launch(std::make_unique<CQuery>(window.Handle()), &HandOverWithFlag);
  ASSERT_NE(ticket, 0u);
  auto message = window.WaitForMessage(WM_QUERY_RESULT, 5s);
  ASSERT_TRUE(message);
  EXPECT_EQ(message->wParam, kResultFailure);
  std::uint32_t value = 0;
  std::unique_ptr<CQuery> query = TakeQuery(*message, &value);
  ASSERT_TRUE(query);
  EXPECT_EQ(value, kResultFailure);
  EXPECT_EQ(query->ticket, ticket);
  EXPECT_EQ(query->loginFlag, 7);
  EXPECT_FALSE(query->HasThread());
  query.reset();
  EXPECT_EQ(CQuery::LiveCount(), before);
}

struct EndingCase {
  const char *name;
  CQuery::Exchange exchange;
  UINT ending;        // the one message the window gets
  bool carriesTicket; // its wParam is the request's ticket, not `wParam`
  WPARAM wParam;
  LPARAM lParam;
};

// A worker that reports, and one that does not: either way the window hears
// exactly once how the request ended, and the query is deleted.
TEST(QueryLifecycle, AQueryThatIsNotHandedOverEndsWithOneMessage) {
  const EndingCase cases[] = {
      {"reported", &ReportThenFinish, WM_SETIP_RESULT, false, kResultSuccess,
       static_cast<LPARAM>(QueryKind::AddressChange)},
      {"nothing reported", &FinishQuietly, WM_REQUEST_UNANSWERED, true, 0,
       static_cast<LPARAM>(QueryKind::VolumeList)},
  };
  for (const EndingCase &c : cases) {
    SCOPED_TRACE(c.name);
    const std::int64_t before = CQuery::LiveCount();
    MessageQueueTarget window;
    auto query = std::make_unique<CQuery>(window.Handle());
    query->kind = QueryKind::VolumeList;
    const Ticket ticket = CQuery::Launch(std::move(query), c.exchange);
    ASSERT_NE(ticket, 0u);
    ASSERT_TRUE(WorkersEnded());
    EXPECT_EQ(CQuery::LiveCount(), before);
    const std::vector<Message> messages = window.TakeAll();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].message, c.ending);
    EXPECT_EQ(messages[0].wParam, c.carriesTicket ? ticket : c.wParam);
    EXPECT_EQ(messages[0].lParam, c.lParam);
  }
}

TEST(QueryLifecycle, AnUnansweredEndForAGoneWindowGoesNowhere) {
  const std::int64_t before = CQuery::LiveCount();
  WindowHandle gone = 0;
  {
    MessageQueueTarget window;
    gone = window.Handle();
  }
  MessageQueueTarget other;
  ASSERT_NE(CQuery::Launch(std::make_unique<CQuery>(gone), &FinishQuietly), 0u);
  ASSERT_TRUE(WorkersEnded());
  EXPECT_EQ(CQuery::LiveCount(), before);
  EXPECT_EQ(other.QueuedCount(), 0u) << "a handle is never reused";
}

TEST(QueryLifecycle, AResultForAGoneWindowIsDeletedNotStored) {
  const std::int64_t before = CQuery::LiveCount();
  const std::size_t stored = CMsg::Instance().Size();
  WindowHandle gone = 0;
  {
    MessageQueueTarget window;
    gone = window.Handle();
  }
  ASSERT_NE(CQuery::Launch(std::make_unique<CQuery>(gone), &HandOverWithFlag), 0u);
  EXPECT_TRUE(WaitUntil([&] { return CQuery::LiveCount() == before; }, 5s));
  EXPECT_EQ(CMsg::Instance().Size(), stored);
}

TEST(QueryLifecycle, LaunchWithoutAnExchangeStartsNothing) {
  const std::int64_t before = CQuery::LiveCount();
  EXPECT_EQ(CQuery::Launch(std::make_unique<CQuery>(1), nullptr), 0u);
  EXPECT_EQ(CQuery::Launch(nullptr, &FinishQuietly), 0u);
  EXPECT_EQ(CQuery::LiveCount(), before);
}

namespace {

// Workers that take a little while, then hand over with success or failure,
// finish without a payload after reporting a plain message, or finish
// without reporting anything (a request that failed on its way), as the UDP
// and HTTP kinds do.
constexpr int kOutcomes = 4;

CQuery::Disposition RandomOutcome(CQuery &query) {
  thread_local std::minstd_rand random(std::random_device{}());
  query.PauseFor(std::chrono::microseconds(random() % 3000));
  switch (query.deviceIndex % kOutcomes) {
  case 0:
    return query.HandOver(kResultSuccess);
  case 1:
    return query.HandOver(kResultFailure);
  case 2:
    query.Report(WM_SETIP_RESULT, kResultFailure, static_cast<LPARAM>(query.ticket));
    return CQuery::Disposition::Finished;
  default:
    return CQuery::Disposition::Finished;
  }
}

} // namespace

TEST(QueryLifecycle, StartAndDeleteInALoopWhileResultsArrive) {
  const std::int64_t before = CQuery::LiveCount();
  const std::size_t stored = CMsg::Instance().Size();
  MessageQueueTarget window;
  constexpr int kQueries = 600;
  std::map<Ticket, int> started; // ticket -> outcome class
  std::set<Ticket> answered;     // each ticket's one ending
  std::set<MessageId> ids;
  int launched = 0;
  auto outcomeOf = [&](Ticket ticket) {
    auto found = started.find(ticket);
    return found == started.end() ? -1 : found->second;
  };
  auto drain = [&] {
    for (const Message &message : window.TakeAll()) {
      if (message.message == WM_QUERY_RESULT) {
        EXPECT_TRUE(ids.insert(MessageIdFromLParam(message.lParam)).second);
        std::unique_ptr<CQuery> query = TakeQuery(message);
        ASSERT_TRUE(query) << "every posted id is in the store once";
        EXPECT_EQ(message.wParam,
                  query->deviceIndex % kOutcomes == 0 ? kResultSuccess : kResultFailure);
        EXPECT_TRUE(answered.insert(query->ticket).second);
      } else if (message.message == WM_SETIP_RESULT) {
        const auto ticket = static_cast<Ticket>(message.lParam);
        EXPECT_EQ(outcomeOf(ticket), 2);
        EXPECT_TRUE(answered.insert(ticket).second);
      } else if (message.message == WM_REQUEST_UNANSWERED) {
        EXPECT_EQ(outcomeOf(message.wParam), 3);
        EXPECT_TRUE(answered.insert(message.wParam).second) << "a ticket ended twice";
      }
    }
  };
  while (launched < kQueries) {
    auto query = std::make_unique<CQuery>(window.Handle());
    query->deviceIndex = launched;
    Ticket ticket = CQuery::Launch(std::move(query), &RandomOutcome);
    ASSERT_NE(ticket, 0u);
    EXPECT_TRUE(started.emplace(ticket, launched % kOutcomes).second) << "ticket repeated";
    ++launched;
    if (launched % 8 == 0) {
      drain();
    }
    if (launched % 64 == 0) {
      std::this_thread::sleep_for(1ms); // let results pile up while more start
    }
  }
  ASSERT_TRUE(WaitUntil(
      [&] {
        drain();
        return answered.size() == started.size();
      },
      30s));
  for (const auto &[ticket, outcome] : started) {
    EXPECT_TRUE(answered.count(ticket)) << "ticket " << ticket << " never answered";
  }
  EXPECT_TRUE(WaitUntil([&] { return CQuery::LiveCount() == before; }, 10s))
      << CQuery::LiveCount() - before << " queries left";
  EXPECT_TRUE(DrainWorkers(10s));
  drain();
  EXPECT_EQ(answered.size(), started.size()) << "a late second ending";
  EXPECT_EQ(CMsg::Instance().Size(), stored);
}

// ---- The drain at the program's end.

namespace {

std::atomic<bool> g_gateOpen{false};

// A worker that runs until the gate opens (or it is stopped).
CQuery::Disposition WaitAtTheGate(CQuery &query) {
  while (!g_gateOpen.load()) {
    if (!query.PauseFor(1ms)) {
      break;
    }
  }
  return CQuery::Disposition::Finished;
}

} // namespace

TEST(WorkerDrain, WaitsForRunningWorkersNotForStoredResults) {
  ASSERT_TRUE(DrainWorkers(5s)) << "no worker of an earlier test still runs";
  MessageQueueTarget window;
  g_gateOpen.store(false);
  ASSERT_NE(CQuery::Launch(std::make_unique<CQuery>(WindowHandle{0}), &WaitAtTheGate), 0u);
  EXPECT_FALSE(DrainWorkers(20ms)) << "a worker still runs";
  g_gateOpen.store(true);
  EXPECT_TRUE(DrainWorkers(5s));

  // A result waiting in the store for its window has no worker any more.
  ASSERT_NE(CQuery::Launch(std::make_unique<CQuery>(window.Handle()), &HandOverWithFlag), 0u);
  ASSERT_TRUE(window.WaitForMessage(WM_QUERY_RESULT, 5s));
  EXPECT_TRUE(DrainWorkers(5s));
  EXPECT_EQ(FinishProcess(5, 0ms), 5) << "nothing runs: main returns the status";
}

TEST(WorkerDrainDeathTest, LeavesAtOnceWhileAWorkerStillRuns) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        g_gateOpen.store(false);
        CQuery::Launch(std::make_unique<CQuery>(WindowHandle{0}), &WaitAtTheGate);
        FinishProcess(7, 20ms);
        std::exit(0); // not reached: the worker never ends
      },
      ::testing::ExitedWithCode(7), "");
}
