#include <gtest/gtest.h>

#include <atomic>
#include <map>
#include <memory>
#include <thread>
#include <vector>

#include "platform/message_queue_target.h"

using namespace corvesta;
using namespace std::chrono_literals;

namespace {

constexpr UINT kTestMessage = WM_USER + 77;

class EchoTarget : public MessageTarget {
public:
  EchoTarget() { RegisterWindow(); }
  ~EchoTarget() override { UnregisterWindow(); }
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    ++calls;
    return static_cast<LRESULT>(message) + static_cast<LRESULT>(wParam) + lParam;
  }
  int calls = 0;

protected:
  void QueuePosted(const Message &) override {}
};

} // namespace

TEST(WindowMessage, HandlesAreNonzeroAndNeverReused) {
  std::vector<WindowHandle> seen;
  for (int i = 0; i < 50; ++i) {
    MessageQueueTarget target;
    ASSERT_NE(target.Handle(), 0u);
    for (WindowHandle earlier : seen) {
      ASSERT_NE(earlier, target.Handle());
    }
    seen.push_back(target.Handle());
  }
}

TEST(WindowMessage, PostReachesTheTargetWithItsParameters) {
  MessageQueueTarget target;
  ASSERT_TRUE(PostMessage(target.Handle(), kTestMessage, 0xFFFFFFFFFFull, -5));
  auto message = target.WaitForMessage(1s);
  ASSERT_TRUE(message);
  EXPECT_EQ(message->window, target.Handle());
  EXPECT_EQ(message->message, kTestMessage);
  EXPECT_EQ(message->wParam, 0xFFFFFFFFFFull);
  EXPECT_EQ(message->lParam, -5);
}

TEST(WindowMessage, PostToDestroyedOrNullWindowIsRefusedAndDoesNothing) {
  WindowHandle gone = 0;
  {
    MessageQueueTarget target;
    gone = target.Handle();
  }
  EXPECT_FALSE(IsWindow(gone));
  EXPECT_FALSE(PostMessage(gone, kTestMessage, 1, 2));
  EXPECT_FALSE(PostMessage(0, kTestMessage, 1, 2));
  // A later window never receives what was meant for the old handle.
  MessageQueueTarget later;
  EXPECT_NE(later.Handle(), gone);
  EXPECT_FALSE(PostMessage(gone, kTestMessage, 1, 2));
  EXPECT_EQ(later.QueuedCount(), 0u);
}

TEST(WindowMessage, PostsFromManyThreadsAllArriveOnceInOrderPerSender) {
  MessageQueueTarget target;
  constexpr int kSenders = 8;
  constexpr int kPerSender = 500;
  std::vector<std::jthread> senders;
  for (int s = 0; s < kSenders; ++s) {
    senders.emplace_back([&, s] {
      for (int i = 0; i < kPerSender; ++i) {
        ASSERT_TRUE(PostMessage(target.Handle(), kTestMessage, static_cast<WPARAM>(s), i));
      }
    });
  }
  for (auto &t : senders) {
    t.join();
  }
  std::vector<Message> all = target.TakeAll();
  ASSERT_EQ(all.size(), static_cast<std::size_t>(kSenders * kPerSender));
  std::map<WPARAM, LPARAM> next;
  for (const Message &m : all) {
    EXPECT_EQ(m.lParam, next[m.wParam]) << "sender " << m.wParam;
    next[m.wParam] = m.lParam + 1;
  }
  for (int s = 0; s < kSenders; ++s) {
    EXPECT_EQ(next[static_cast<WPARAM>(s)], kPerSender);
  }
}

// A handle is released while another thread keeps posting to it: the posts
// that race with the release reach the live target or are refused, and once
// released the handle refuses every post.
TEST(WindowMessage, PostsRacingWithDestructionNeverCrash) {
  std::atomic<WindowHandle> current{0};
  std::jthread poster([&](std::stop_token stop) {
    while (!stop.stop_requested()) {
      PostMessage(current.load(), kTestMessage, 0, 0);
    }
  });
  for (int i = 0; i < 2000; ++i) {
    auto target = std::make_unique<MessageQueueTarget>();
    const WindowHandle released = target->Handle();
    current.store(released);
    target.reset();
    ASSERT_FALSE(PostMessage(released, kTestMessage, 0, 0)) << "handle " << released;
    ASSERT_FALSE(IsWindow(released));
  }
}

TEST(WindowMessage, WaitForSpecificMessageKeepsOthersQueuedInOrder) {
  MessageQueueTarget target;
  PostMessage(target.Handle(), 1, 0, 10);
  PostMessage(target.Handle(), 2, 0, 20);
  PostMessage(target.Handle(), 1, 0, 11);
  auto second = target.WaitForMessage(2, 1s);
  ASSERT_TRUE(second);
  EXPECT_EQ(second->lParam, 20);
  auto first = target.WaitForMessage(1s);
  auto third = target.WaitForMessage(1s);
  ASSERT_TRUE(first && third);
  EXPECT_EQ(first->lParam, 10);
  EXPECT_EQ(third->lParam, 11);
}

TEST(WindowMessage, WaitTimesOutWhenNothingArrives) {
  MessageQueueTarget target;
  EXPECT_FALSE(target.WaitForMessage(20ms));
  PostMessage(target.Handle(), 1, 0, 0);
  EXPECT_FALSE(target.WaitForMessage(2, 20ms));
  EXPECT_EQ(target.QueuedCount(), 1u);
}

TEST(WindowMessage, WaitWakesForAMessagePostedLaterFromAnotherThread) {
  MessageQueueTarget target;
  std::jthread late([&] {
    std::this_thread::sleep_for(20ms);
    PostMessage(target.Handle(), kTestMessage, 0, 42);
  });
  auto message = target.WaitForMessage(kTestMessage, 5s);
  late.join();
  ASSERT_TRUE(message);
  EXPECT_EQ(message->lParam, 42);
}

TEST(WindowMessage, SendCallsTheWindowDirectlyOnItsOwnThreadOnly) {
  EchoTarget target;
  EXPECT_EQ(SendMessage(target.Handle(), 100, 20, 3), 123);
  EXPECT_EQ(target.calls, 1);

  bool sentFromOtherThread = true;
  LRESULT result = -1;
  std::jthread other(
      [&] { sentFromOtherThread = TrySendMessage(target.Handle(), 100, 20, 3, &result); });
  other.join();
  EXPECT_FALSE(sentFromOtherThread);
  EXPECT_EQ(result, -1);
  EXPECT_EQ(target.calls, 1);
}

TEST(WindowMessage, SendToDestroyedWindowReturnsZero) {
  WindowHandle gone = 0;
  {
    EchoTarget target;
    gone = target.Handle();
  }
  LRESULT result = 7;
  EXPECT_FALSE(TrySendMessage(gone, 100, 1, 1, &result));
  EXPECT_EQ(result, 7);
  EXPECT_EQ(SendMessage(gone, 100, 1, 1), 0);
}
