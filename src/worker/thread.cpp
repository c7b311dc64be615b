#include "worker/thread.h"

#include <system_error>

namespace corvesta {

CThread::~CThread() {
  std::thread thread;
  {
    std::lock_guard guard(m_lock);
    thread = std::move(m_thread);
    m_suspendCount = 0;
  }
  if (!thread.joinable()) {
    return;
  }
  m_stopFlag.store(1);
  m_wake.notify_all();
  if (thread.get_id() == std::this_thread::get_id()) {
    thread.detach();
  } else {
    thread.join();
  }
}

bool CThread::Start() {
  if (HasThread()) {
    Stop();
  }
  std::lock_guard guard(m_lock);
  m_stopFlag.store(0);
  m_suspendCount = 0;
  m_parked = false;
  try {
    m_thread = std::thread([this] { Run(); });
  } catch (const std::system_error &) {
    return false;
  }
  return true;
}

void CThread::Stop() {
  Resume();
  RequestStop();
  std::thread thread;
  {
    std::lock_guard guard(m_lock);
    thread = std::move(m_thread);
  }
  if (!thread.joinable()) {
    return;
  }
  if (thread.get_id() == std::this_thread::get_id()) {
    thread.detach();
  } else {
    thread.join();
  }
}

void CThread::Suspend() {
  std::lock_guard guard(m_lock);
  if (m_thread.joinable()) {
    ++m_suspendCount;
  }
}

void CThread::Resume() {
  {
    std::lock_guard guard(m_lock);
    if (!m_thread.joinable()) {
      return;
    }
    m_suspendCount = 0;
  }
  m_wake.notify_all();
}

void CThread::Step() {
  Pause(kStepPause);
}

void CThread::Run() {
  while (!StopRequested()) {
    if (!CheckPoint()) {
      break;
    }
    Step();
  }
}

bool CThread::HasThread() const {
  std::lock_guard guard(m_lock);
  return m_thread.joinable();
}

int CThread::SuspendCount() const {
  std::lock_guard guard(m_lock);
  return m_suspendCount;
}

bool CThread::IsParked() const {
  std::lock_guard guard(m_lock);
  return m_parked;
}

bool CThread::CheckPoint() {
  std::unique_lock guard(m_lock);
  if (m_suspendCount > 0 && !StopRequested()) {
    m_parked = true;
    m_wake.wait(guard, [this] { return m_suspendCount == 0 || StopRequested(); });
    m_parked = false;
  }
  return !StopRequested();
}

bool CThread::Pause(std::chrono::milliseconds duration) {
  {
    std::unique_lock guard(m_lock);
    m_wake.wait_for(guard, duration, [this] { return StopRequested(); });
  }
  return CheckPoint();
}

void CThread::ReleaseThread() {
  std::lock_guard guard(m_lock);
  if (m_thread.joinable() && m_thread.get_id() == std::this_thread::get_id()) {
    m_thread.detach();
    m_suspendCount = 0;
  }
}

void CThread::RequestStop() {
  {
    // Taken so that a waiter between its predicate check and its sleep
    // cannot miss the wake-up.
    std::lock_guard guard(m_lock);
    m_stopFlag.store(1);
  }
  m_wake.notify_all();
}

} // namespace corvesta
