#pragma once
// A message target with a plain queue: posted messages wait in the queue
// until the owner takes them. Tests use it in place of a window, and so does
// the command-line front end as its message loop.

#include <chrono>
#include <condition_variable>
#include <deque>
#include <optional>
#include <vector>

#include "platform/window_message.h"

namespace corvesta {

class MessageQueueTarget : public MessageTarget {
public:
  MessageQueueTarget();
  ~MessageQueueTarget() override;

  // The oldest queued message, waiting at most `timeout` for one to arrive.
  std::optional<Message> WaitForMessage(std::chrono::milliseconds timeout);

  // The oldest queued message with this number, waiting at most `timeout`.
  // Other messages stay queued in their order.
  std::optional<Message> WaitForMessage(UINT message, std::chrono::milliseconds timeout);

  // Everything queued now, oldest first; the queue is empty afterwards.
  std::vector<Message> TakeAll();

  std::size_t QueuedCount() const;

protected:
  void QueuePosted(const Message &message) override;

private:
  template <class Match>
  std::optional<Message> WaitMatching(Match match, std::chrono::milliseconds timeout);

  mutable std::mutex m_lock;
  std::condition_variable m_arrived;
  std::deque<Message> m_queue;
};

} // namespace corvesta
