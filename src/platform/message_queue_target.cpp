#include "platform/message_queue_target.h"

#include <algorithm>

namespace corvesta {

MessageQueueTarget::MessageQueueTarget() {
  RegisterWindow();
}

MessageQueueTarget::~MessageQueueTarget() {
  UnregisterWindow();
}

void MessageQueueTarget::QueuePosted(const Message &message) {
  {
    std::lock_guard guard(m_lock);
    m_queue.push_back(message);
  }
  m_arrived.notify_all();
}

template <class Match>
std::optional<Message> MessageQueueTarget::WaitMatching(Match match,
                                                        std::chrono::milliseconds timeout) {
  std::unique_lock guard(m_lock);
  std::optional<Message> found;
  auto take = [&] {
    auto it = std::find_if(m_queue.begin(), m_queue.end(), match);
    if (it == m_queue.end()) {
      return false;
    }
    found = *it;
    m_queue.erase(it);
    return true;
  };
  m_arrived.wait_for(guard, timeout, take);
  return found;
}

std::optional<Message> MessageQueueTarget::WaitForMessage(std::chrono::milliseconds timeout) {
  return WaitMatching([](const Message &) { return true; }, timeout);
}

std::optional<Message> MessageQueueTarget::WaitForMessage(UINT message,
                                                          std::chrono::milliseconds timeout) {
  return WaitMatching([message](const Message &m) { return m.message == message; }, timeout);
}

std::vector<Message> MessageQueueTarget::TakeAll() {
  std::lock_guard guard(m_lock);
  std::vector<Message> all(m_queue.begin(), m_queue.end());
  m_queue.clear();
  return all;
}

std::size_t MessageQueueTarget::QueuedCount() const {
  std::lock_guard guard(m_lock);
  return m_queue.size();
}

} // namespace corvesta
