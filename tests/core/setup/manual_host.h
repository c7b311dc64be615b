#pragma once
// A sequence host whose timers run only when a test fires them, over a
// message queue whose handle the sequence's requests are started with.

#include <chrono>
#include <map>

#include "platform/message_queue_target.h"
#include "setup/sequence.h"

namespace corvesta::test {

class ManualHost : public SequenceHost {
public:
  WindowHandle Window() const override { return m_target.Handle(); }
  void StartTimer(int id, std::chrono::milliseconds delay) override { m_timers[id] = delay; }
  void StopTimer(int id) override { m_timers.erase(id); }

  bool Pending(int id) const { return m_timers.count(id) != 0; }
  bool AnyPending() const { return !m_timers.empty(); }
  std::chrono::milliseconds Delay(int id) const {
    auto found = m_timers.find(id);
    return found == m_timers.end() ? std::chrono::milliseconds(-1) : found->second;
  }

  // Runs timer `id` as the host would when it is due; false when it was not
  // pending.
  bool Fire(Sequence &sequence, int id) {
    if (m_timers.erase(id) == 0) {
      return false;
    }
    sequence.OnTimer(id);
    return true;
  }

private:
  MessageQueueTarget m_target;
  std::map<int, std::chrono::milliseconds> m_timers;
};

} // namespace corvesta::test
