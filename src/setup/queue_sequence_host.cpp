#include "setup/queue_sequence_host.h"

#include <algorithm>

namespace corvesta {

using std::chrono::milliseconds;

void QueueSequenceHost::StartTimer(int id, milliseconds delay) {
  m_timers[id] = Clock::now() + std::max(delay, milliseconds(0));
}

void QueueSequenceHost::StopTimer(int id) {
  m_timers.erase(id);
}

bool QueueSequenceHost::FireDueTimers(Sequence &sequence) {
  bool fired = false;
  while (sequence.Running() && !m_timers.empty()) {
    auto next = std::min_element(m_timers.begin(), m_timers.end(),
                                 [](const auto &a, const auto &b) { return a.second < b.second; });
    if (next->second > Clock::now()) {
      break;
    }
    const int id = next->first;
    m_timers.erase(next);
    sequence.OnTimer(id);
    fired = true;
  }
  return fired;
}

bool QueueSequenceHost::Run(Sequence &sequence, milliseconds limit, const Foreign &foreign,
                            const Tick &tick, milliseconds tickPeriod) {
  const auto deadline = Clock::now() + limit;
  auto nextTick = Clock::now() + tickPeriod;
  while (sequence.Running()) {
    FireDueTimers(sequence);
    if (!sequence.Running()) {
      break;
    }
    const auto now = Clock::now();
    if (now >= deadline) {
      return false;
    }
    if (tick && now >= nextTick) {
      tick();
      nextTick = now + tickPeriod;
    }
    auto until = std::min(deadline, tick ? nextTick : deadline);
    for (const auto &[id, due] : m_timers) {
      until = std::min(until, due);
    }
    const auto wait =
        std::chrono::ceil<milliseconds>(std::max(until - Clock::now(), Clock::duration::zero()));
    std::optional<Message> message = m_target.WaitForMessage(wait);
    if (message && !sequence.OnMessage(*message) && foreign) {
      foreign(*message);
    }
  }
  return true;
}

} // namespace corvesta
