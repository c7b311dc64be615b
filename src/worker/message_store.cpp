#include "worker/message_store.h"

namespace corvesta {

MessageId CMsg::Put(std::unique_ptr<CThread> payload, std::uint32_t value) {
  std::lock_guard guard(m_lock);
  MessageId id = ++m_lastId;
  m_entries.push_back(Entry{id, std::move(payload), value});
  return id;
}

bool CMsg::Take(MessageId id, std::unique_ptr<CThread> &payload, std::uint32_t &value) {
  std::unique_ptr<CThread> taken;
  {
    std::lock_guard guard(m_lock);
    auto it = m_entries.begin();
    while (it != m_entries.end() && it->id != id) {
      ++it;
    }
    if (it == m_entries.end()) {
      return false;
    }
    taken = std::move(it->payload);
    value = it->value;
    m_entries.erase(it);
  }
  // Whatever the caller held before is released outside the lock.
  payload = std::move(taken);
  return true;
}

bool CMsg::Peek(MessageId id, const std::function<void(const CThread &payload)> &look) const {
  std::lock_guard guard(m_lock);
  for (const Entry &entry : m_entries) {
    if (entry.id == id) {
      if (entry.payload) {
        look(*entry.payload);
      }
      return true;
    }
  }
  return false;
}

std::size_t CMsg::Size() const {
  std::lock_guard guard(m_lock);
  return m_entries.size();
}

std::size_t CMsg::Clear() {
  std::deque<Entry> dropped;
  {
    std::lock_guard guard(m_lock);
    dropped.swap(m_entries);
  }
  // The payloads are deleted here, outside the lock.
  return dropped.size();
}

} // namespace corvesta
