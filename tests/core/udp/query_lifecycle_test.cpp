#include <gtest/gtest.h>

#include <map>
#include <random>
#include <set>
#include <thread>

#include "nas/query.h"
#include "nas/take_query.h"
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

TEST(QueryLifecycle, AQueryThatIsNotHandedOverIsDeletedByItsWorker) {
  const std::int64_t before = CQuery::LiveCount();
  MessageQueueTarget window;
  ASSERT_NE(CQuery::Launch(std::make_unique<CQuery>(window.Handle()), &FinishQuietly), 0u);
  EXPECT_TRUE(WaitUntil([&] { return CQuery::LiveCount() == before; }, 5s));
  EXPECT_EQ(window.QueuedCount(), 0u);
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
// or finish without a payload after posting a plain message, as the UDP and
// HTTP kinds do.
CQuery::Disposition RandomOutcome(CQuery &query) {
  thread_local std::minstd_rand random(std::random_device{}());
  query.PauseFor(std::chrono::microseconds(random() % 3000));
  switch (query.deviceIndex % 3) {
  case 0:
    return query.HandOver(kResultSuccess);
  case 1:
    return query.HandOver(kResultFailure);
  default:
    PostMessage(query.window, WM_SETIP_RESULT, kResultFailure, static_cast<LPARAM>(query.ticket));
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
  std::set<Ticket> answered;
  std::set<MessageId> ids;
  int launched = 0;
  auto drain = [&] {
    for (const Message &message : window.TakeAll()) {
      if (message.message == WM_QUERY_RESULT) {
        EXPECT_TRUE(ids.insert(MessageIdFromLParam(message.lParam)).second);
        std::unique_ptr<CQuery> query = TakeQuery(message);
        ASSERT_TRUE(query) << "every posted id is in the store once";
        EXPECT_EQ(message.wParam, query->deviceIndex % 3 == 0 ? kResultSuccess : kResultFailure);
        EXPECT_TRUE(answered.insert(query->ticket).second);
      } else if (message.message == WM_SETIP_RESULT) {
        EXPECT_TRUE(answered.insert(static_cast<Ticket>(message.lParam)).second);
      }
    }
  };
  while (launched < kQueries) {
    auto query = std::make_unique<CQuery>(window.Handle());
    query->deviceIndex = launched;
    Ticket ticket = CQuery::Launch(std::move(query), &RandomOutcome);
    ASSERT_NE(ticket, 0u);
    EXPECT_TRUE(started.emplace(ticket, launched % 3).second) << "ticket repeated";
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
  EXPECT_EQ(CMsg::Instance().Size(), stored);
}
