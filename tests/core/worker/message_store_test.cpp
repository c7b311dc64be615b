#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <thread>
#include <vector>

#include "platform/message_queue_target.h"
#include "worker/message_store.h"
#include "worker/private_messages.h"
#include "worker/ticket.h"

using namespace corvesta;
using namespace std::chrono_literals;

namespace {

// A payload that tells when it is destroyed.
class Tracked : public CThread {
public:
  Tracked(int t, int *destroyed) : tag(t), m_destroyed(destroyed) {}
  ~Tracked() override { ++*m_destroyed; }
  int tag;

private:
  int *m_destroyed;
};

} // namespace

// The store is process-wide, so every test works relative to the ids it
// gets back rather than to absolute numbers, except the first one below,
// which gtest runs first in this executable.
TEST(MessageStore, FirstIdIsOneAndEachPutAddsOne) {
  int destroyed = 0;
  CMsg &store = CMsg::Instance();
  MessageId first = store.Put(std::make_unique<Tracked>(1, &destroyed), 0);
  EXPECT_EQ(first, 1u);
  MessageId second = store.Put(std::make_unique<Tracked>(2, &destroyed), 1);
  EXPECT_EQ(second, first + 1);
  std::unique_ptr<CThread> payload;
  std::uint32_t value = 99;
  EXPECT_TRUE(store.Take(first, payload, value));
  EXPECT_TRUE(store.Take(second, payload, value));
  EXPECT_EQ(destroyed, 1); // the first payload was released when replaced
}

TEST(MessageStore, TakeHandsOutPayloadAndValueOnceOnly) {
  int destroyed = 0;
  CMsg &store = CMsg::Instance();
  MessageId id = store.Put(std::make_unique<Tracked>(7, &destroyed), 1);
  std::unique_ptr<CThread> payload;
  std::uint32_t value = 0;
  ASSERT_TRUE(store.Take(id, payload, value));
  EXPECT_EQ(value, 1u);
  ASSERT_NE(payload, nullptr);
  EXPECT_EQ(static_cast<Tracked *>(payload.get())->tag, 7);

  std::unique_ptr<CThread> again;
  value = 42;
  EXPECT_FALSE(store.Take(id, again, value));
  EXPECT_EQ(again, nullptr);
  EXPECT_EQ(value, 42u); // unchanged on failure
  payload.reset();
  EXPECT_EQ(destroyed, 1);
}

TEST(MessageStore, PeekShowsThePayloadAndLeavesItInTheStore) {
  int destroyed = 0;
  CMsg &store = CMsg::Instance();
  MessageId id = store.Put(std::make_unique<Tracked>(5, &destroyed), 3);
  int seen = 0;
  EXPECT_TRUE(store.Peek(
      id, [&](const CThread &payload) { seen = static_cast<const Tracked &>(payload).tag; }));
  EXPECT_EQ(seen, 5);
  EXPECT_FALSE(store.Peek(id + 1000, [&](const CThread &) { seen = -1; }));
  EXPECT_EQ(seen, 5);

  std::unique_ptr<CThread> payload;
  std::uint32_t value = 0;
  ASSERT_TRUE(store.Take(id, payload, value)); // still there after the looks
  EXPECT_EQ(value, 3u);
  EXPECT_EQ(destroyed, 0);
  EXPECT_FALSE(store.Peek(id, [&](const CThread &) { seen = -1; }));
  EXPECT_EQ(seen, 5);
}

TEST(MessageStore, EntriesCanBeTakenInAnyOrder) {
  int destroyed = 0;
  CMsg &store = CMsg::Instance();
  std::vector<MessageId> ids;
  for (int i = 0; i < 5; ++i) {
    ids.push_back(
        store.Put(std::make_unique<Tracked>(i, &destroyed), static_cast<std::uint32_t>(i)));
  }
  for (int index : {3, 0, 4, 2, 1}) {
    std::unique_ptr<CThread> payload;
    std::uint32_t value = 0;
    ASSERT_TRUE(store.Take(ids[static_cast<std::size_t>(index)], payload, value));
    EXPECT_EQ(static_cast<Tracked *>(payload.get())->tag, index);
    EXPECT_EQ(value, static_cast<std::uint32_t>(index));
  }
}

TEST(MessageStore, UnknownIdFailsWithoutChangingTheStore) {
  CMsg &store = CMsg::Instance();
  std::size_t before = store.Size();
  std::unique_ptr<CThread> payload;
  std::uint32_t value = 0;
  EXPECT_FALSE(store.Take(0, payload, value));
  EXPECT_FALSE(store.Take(~0ull, payload, value));
  EXPECT_EQ(store.Size(), before);
}

TEST(MessageStore, IdsTravelThroughAMessageWithAllSixtyFourBits) {
  MessageQueueTarget window;
  for (MessageId id : {MessageId{1}, MessageId{0x7FFFFFFF}, MessageId{0x80000000},
                       MessageId{0x1'0000'0001}, ~MessageId{0}}) {
    ASSERT_TRUE(
        PostMessage(window.Handle(), WM_QUERY_RESULT, kResultSuccess, MessageIdToLParam(id)));
    auto message = window.WaitForMessage(1s);
    ASSERT_TRUE(message);
    EXPECT_EQ(MessageIdFromLParam(message->lParam), id);
  }
}

TEST(MessageStore, ClearDeletesWhatNobodyTookAndIdsGoOn) {
  int destroyed = 0;
  CMsg &store = CMsg::Instance();
  store.Clear();
  const MessageId first = store.Put(std::make_unique<Tracked>(1, &destroyed), 0);
  store.Put(std::make_unique<Tracked>(2, &destroyed), 0);
  EXPECT_EQ(store.Clear(), 2u);
  EXPECT_EQ(destroyed, 2);
  EXPECT_EQ(store.Size(), 0u);
  std::unique_ptr<CThread> payload;
  std::uint32_t value = 0;
  EXPECT_FALSE(store.Take(first, payload, value));
  EXPECT_EQ(store.Put(nullptr, 0), first + 2) << "a cleared id is never handed out again";
  EXPECT_EQ(store.Clear(), 1u);
}

TEST(MessageStore, PutsFromManyThreadsGetDistinctIds) {
  CMsg &store = CMsg::Instance();
  constexpr int kThreads = 6;
  constexpr int kEach = 300;
  std::vector<std::vector<MessageId>> ids(kThreads);
  std::vector<std::jthread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      for (int i = 0; i < kEach; ++i) {
        ids[static_cast<std::size_t>(t)].push_back(store.Put(nullptr, 0));
      }
    });
  }
  for (auto &t : threads) {
    t.join();
  }
  std::set<MessageId> all;
  for (auto &list : ids) {
    EXPECT_TRUE(std::is_sorted(list.begin(), list.end()));
    all.insert(list.begin(), list.end());
  }
  EXPECT_EQ(all.size(), static_cast<std::size_t>(kThreads * kEach));
  for (MessageId id : all) {
    std::unique_ptr<CThread> payload;
    std::uint32_t value = 0;
    ASSERT_TRUE(store.Take(id, payload, value));
  }
}

TEST(Ticket, NonzeroAndNeverRepeatedAcrossThreads) {
  std::vector<std::vector<Ticket>> tickets(4);
  std::vector<std::jthread> threads;
  for (std::size_t t = 0; t < tickets.size(); ++t) {
    threads.emplace_back([&, t] {
      for (int i = 0; i < 1000; ++i) {
        tickets[t].push_back(NextTicket());
      }
    });
  }
  for (auto &t : threads) {
    t.join();
  }
  std::set<Ticket> all;
  for (auto &list : tickets) {
    all.insert(list.begin(), list.end());
  }
  EXPECT_EQ(all.size(), 4000u);
  EXPECT_EQ(all.count(0), 0u);
}
