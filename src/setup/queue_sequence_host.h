#pragma once
// A sequence host over a plain message queue, for front ends without a
// window system (corvesta-cli) and for tests: timers are kept here and Run
// delivers queued messages and due timers to one sequence until it ends.

#include <chrono>
#include <functional>
#include <map>

#include "platform/message_queue_target.h"
#include "setup/sequence.h"

namespace corvesta {

class QueueSequenceHost : public SequenceHost {
public:
  using Clock = std::chrono::steady_clock;
  using Tick = std::function<void()>;
  using Foreign = std::function<void(const Message &)>;

  explicit QueueSequenceHost(MessageQueueTarget &target) : m_target(target) {}

  WindowHandle Window() const override { return m_target.Handle(); }
  void StartTimer(int id, std::chrono::milliseconds delay) override;
  void StopTimer(int id) override;

  // Hands `sequence` every queued message and every due timer until it is no
  // longer running (true) or `limit` has passed (false). Messages it does not
  // take go to `foreign`; `tick` is called about every `tickPeriod` meanwhile.
  bool Run(Sequence &sequence, std::chrono::milliseconds limit, const Foreign &foreign,
           const Tick &tick = {},
           std::chrono::milliseconds tickPeriod = std::chrono::milliseconds(100));

  bool TimerPending(int id) const { return m_timers.count(id) != 0; }

private:
  // Fires every timer due by now, earliest first; false when none was due.
  bool FireDueTimers(Sequence &sequence);

  MessageQueueTarget &m_target;
  std::map<int, Clock::time_point> m_timers;
};

} // namespace corvesta
