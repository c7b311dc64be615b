#include "setup/queue_sequence_host.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace corvesta {
namespace {

using std::chrono::milliseconds;

constexpr UINT kMine = WM_USER + 50;
constexpr UINT kOther = WM_USER + 51;

// Records what it is handed; ends on a message kMine with wParam 0 or when
// told to by a timer.
class RecordingSequence : public Sequence {
public:
  using Sequence::Host;
  using Sequence::Sequence;
  bool OnMessage(const Message &message) override {
    if (message.message != kMine) {
      return false;
    }
    events.push_back("message " + std::to_string(message.wParam));
    if (message.wParam == 0) {
      running = false;
    }
    return true;
  }
  void OnTimer(int id) override {
    events.push_back("timer " + std::to_string(id));
    if (id == endTimer) {
      running = false;
    }
  }
  bool Running() const override { return running; }

  bool running = true;
  int endTimer = -1;
  std::vector<std::string> events;
};

TEST(QueueSequenceHostTest, TimersFireEarliestFirstAndAReplacedTimerOnce) {
  MessageQueueTarget target;
  QueueSequenceHost host(target);
  RecordingSequence sequence(host);
  sequence.endTimer = 3;
  host.StartTimer(2, milliseconds(20));
  host.StartTimer(1, milliseconds(5));
  host.StartTimer(2, milliseconds(10)); // replaces the first time of timer 2
  host.StartTimer(4, milliseconds(15));
  host.StopTimer(4);
  host.StartTimer(3, milliseconds(30));
  EXPECT_TRUE(host.Run(sequence, milliseconds(5000), {}));
  EXPECT_EQ(sequence.events, (std::vector<std::string>{"timer 1", "timer 2", "timer 3"}));
  EXPECT_FALSE(host.TimerPending(2));
}

TEST(QueueSequenceHostTest, MessagesNotTakenGoToTheOwnerInOrder) {
  MessageQueueTarget target;
  QueueSequenceHost host(target);
  RecordingSequence sequence(host);
  ASSERT_TRUE(PostMessage(host.Window(), kOther, 7, 0));
  ASSERT_TRUE(PostMessage(host.Window(), kMine, 1, 0));
  ASSERT_TRUE(PostMessage(host.Window(), kOther, 8, 0));
  ASSERT_TRUE(PostMessage(host.Window(), kMine, 0, 0));
  ASSERT_TRUE(PostMessage(host.Window(), kOther, 9, 0)); // after the end: stays queued
  std::vector<WPARAM> foreign;
  EXPECT_TRUE(host.Run(sequence, milliseconds(5000),
                       [&](const Message &message) { foreign.push_back(message.wParam); }));
  EXPECT_EQ(sequence.events, (std::vector<std::string>{"message 1", "message 0"}));
  EXPECT_EQ(foreign, (std::vector<WPARAM>{7, 8}));
  EXPECT_EQ(target.QueuedCount(), 1u);
}

TEST(QueueSequenceHostTest, ASequenceThatNeverEndsIsGivenUpAtTheLimit) {
  MessageQueueTarget target;
  QueueSequenceHost host(target);
  RecordingSequence sequence(host);
  int ticks = 0;
  EXPECT_FALSE(host.Run(
      sequence, milliseconds(60), {}, [&] { ++ticks; }, milliseconds(10)));
  EXPECT_TRUE(sequence.Running());
  EXPECT_GT(ticks, 0);
}

TEST(QueueSequenceHostTest, ASequenceThatIsNotRunningReturnsAtOnce) {
  MessageQueueTarget target;
  QueueSequenceHost host(target);
  RecordingSequence sequence(host);
  sequence.running = false;
  host.StartTimer(1, milliseconds(0));
  EXPECT_TRUE(host.Run(sequence, milliseconds(5000), {}));
  EXPECT_TRUE(sequence.events.empty());
}

} // namespace
} // namespace corvesta
