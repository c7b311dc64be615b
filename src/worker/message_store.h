#pragma once
// The process-wide message store: a worker puts its finished query here and
// posts the id; the receiving window takes the query back by that id. Ids
// are 64-bit from Put to Take (a window message's lParam carries all 64 bits).

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>

#include "platform/window_message.h"
#include "worker/singleton.h"
#include "worker/thread.h"

namespace corvesta {

using MessageId = std::uint64_t;

class CMsg : public Singleton<CMsg> {
public:
  // Stores the payload with its value and returns the new id: 1 for the
  // first Put of the run, one more for each further Put.
  MessageId Put(std::unique_ptr<CThread> payload, std::uint32_t value);

  // Hands out the entry with this id and removes it. False, with nothing
  // changed, when no entry has that id.
  bool Take(MessageId id, std::unique_ptr<CThread> &payload, std::uint32_t &value);

  // Shows the payload with this id to `look` without removing it, so that a
  // receiver can tell whether the entry is its own before taking it. `look`
  // runs under the store's lock: it must only read. False when no entry has
  // that id.
  bool Peek(MessageId id, const std::function<void(const CThread &payload)> &look) const;

  std::size_t Size() const;

  // Drops every entry, deleting the payloads that nobody took; the ids go
  // on counting from where they were. Returns how many entries there were.
  std::size_t Clear();

private:
  friend class Singleton<CMsg>;
  CMsg() = default;

  struct Entry {
    MessageId id;
    std::unique_ptr<CThread> payload;
    std::uint32_t value;
  };

  mutable std::mutex m_lock;
  std::deque<Entry> m_entries;
  MessageId m_lastId = 0;
};

// lParam <-> message id, without losing bits.
inline LPARAM MessageIdToLParam(MessageId id) {
  return static_cast<LPARAM>(id);
}
inline MessageId MessageIdFromLParam(LPARAM lParam) {
  return static_cast<MessageId>(lParam);
}

} // namespace corvesta
