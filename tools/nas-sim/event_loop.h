#pragma once
// A single-threaded poll loop: file descriptors with callbacks, and timers.

#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <vector>

namespace corvesta::sim {

using Clock = std::chrono::steady_clock;

class EventLoop {
public:
  using FdCallback = std::function<void(short revents)>;
  using TimerCallback = std::function<void()>;
  using TimerId = std::uint64_t;

  // Watches `fd` for `events` (POLLIN, POLLOUT); replaces an earlier watch.
  void Watch(int fd, short events, FdCallback callback);
  void SetEvents(int fd, short events);
  void Unwatch(int fd);

  TimerId After(std::chrono::milliseconds delay, TimerCallback callback);
  void Cancel(TimerId id);

  // Runs until Stop is called. Returns false when poll fails for a reason
  // other than a signal.
  bool Run();
  void Stop() { m_stopping = true; }

private:
  struct Watcher {
    short events = 0;
    FdCallback callback;
    std::uint64_t generation = 0;
  };
  struct Timer {
    Clock::time_point due;
    TimerCallback callback;
  };

  void RunDueTimers();
  int PollTimeoutMs() const;

  std::map<int, Watcher> m_watchers;
  std::map<TimerId, Timer> m_timers;
  TimerId m_nextTimer = 1;
  std::uint64_t m_generation = 0;
  bool m_stopping = false;
};

} // namespace corvesta::sim
