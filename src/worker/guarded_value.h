#pragma once
// A process-wide value that several threads read and replace: every access
// copies the whole value out or in under the value's own lock, so a reader
// never sees half of an old value and half of a new one.

#include <mutex>
#include <utility>

namespace corvesta {

template <typename T> class GuardedValue {
public:
  GuardedValue() = default;
  GuardedValue(const GuardedValue &) = delete;
  GuardedValue &operator=(const GuardedValue &) = delete;

  // A copy of the value as it stands.
  T Get() const {
    std::lock_guard guard(m_lock);
    return m_value;
  }

  // Replaces the whole value.
  void Set(T value) {
    std::lock_guard guard(m_lock);
    m_value = std::move(value);
  }

  // Reads and changes the value in one step; returns what `change` returns.
  // `change` runs under the lock: it must not call out (no posting, no other
  // lock, no message box).
  template <typename Change> auto Update(Change &&change) {
    std::lock_guard guard(m_lock);
    return std::forward<Change>(change)(m_value);
  }

private:
  mutable std::mutex m_lock;
  T m_value{};
};

} // namespace corvesta
