#include "event_loop.h"

#include <poll.h>

#include <algorithm>
#include <cerrno>

namespace corvesta::sim {

void EventLoop::Watch(int fd, short events, FdCallback callback) {
  m_watchers[fd] = Watcher{events, std::move(callback), ++m_generation};
}

void EventLoop::SetEvents(int fd, short events) {
  if (const auto it = m_watchers.find(fd); it != m_watchers.end()) {
    it->second.events = events;
  }
}

void EventLoop::Unwatch(int fd) {
  m_watchers.erase(fd);
}

EventLoop::TimerId EventLoop::After(std::chrono::milliseconds delay, TimerCallback callback) {
  const TimerId id = m_nextTimer++;
  m_timers.emplace(id, Timer{Clock::now() + delay, std::move(callback)});
  return id;
}

void EventLoop::Cancel(TimerId id) {
  m_timers.erase(id);
}

int EventLoop::PollTimeoutMs() const {
  if (m_timers.empty()) {
    return 1000;
  }
  auto earliest = Clock::time_point::max();
  for (const auto &entry : m_timers) {
    earliest = std::min(earliest, entry.second.due);
  }
  const auto wait = std::chrono::ceil<std::chrono::milliseconds>(earliest - Clock::now()).count();
  return static_cast<int>(std::clamp<std::int64_t>(wait, 0, 1000));
}

void EventLoop::RunDueTimers() {
  const auto now = Clock::now();
  std::vector<TimerId> due;
  for (const auto &entry : m_timers) {
    if (entry.second.due <= now) {
      due.push_back(entry.first);
    }
  }
  // Timers fire in the order in which they were set; a callback may cancel
  // or add timers.
  for (const TimerId id : due) {
    const auto it = m_timers.find(id);
    if (it == m_timers.end()) {
      continue;
    }
    TimerCallback callback = std::move(it->second.callback);
    m_timers.erase(it);
    callback();
  }
}

bool EventLoop::Run() {
  while (!m_stopping) {
    std::vector<pollfd> fds;
    std::vector<std::uint64_t> generations;
    fds.reserve(m_watchers.size());
    for (const auto &[fd, watcher] : m_watchers) {
      fds.push_back(pollfd{fd, watcher.events, 0});
      generations.push_back(watcher.generation);
    }
    const int ready = ::poll(fds.data(), fds.size(), PollTimeoutMs());
    if (ready < 0) {
      if (errno == EINTR) {
        continue;
      }
      return false;
    }
    for (std::size_t i = 0; i < fds.size() && !m_stopping; ++i) {
      if (fds[i].revents == 0) {
        continue;
      }
      // A callback may have removed or replaced this watch meanwhile.
      const auto it = m_watchers.find(fds[i].fd);
      if (it == m_watchers.end() || it->second.generation != generations[i]) {
        continue;
      }
      FdCallback callback = it->second.callback; // copy: the callback may unwatch itself
      callback(fds[i].revents);
    }
    RunDueTimers();
  }
  return true;
}

} // namespace corvesta::sim
