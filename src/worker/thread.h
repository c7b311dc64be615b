#pragma once
// The worker-thread wrapper. A derived class puts its work in Run; the
// thread honours the stop flag and the suspend count at its wait points
// (CheckPoint and Pause), which is where Suspend takes effect.
//
// A class that overrides Run must call Stop() in its own destructor when its
// thread may still be running, because the base destructor runs after the
// derived part is gone.

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>

namespace corvesta {

class CThread {
public:
  CThread() = default;
  CThread(const CThread &) = delete;
  CThread &operator=(const CThread &) = delete;
  virtual ~CThread();

  // Stops a recorded thread first, clears the stop flag and the suspend
  // count, then starts a thread that calls Run. False when no thread could
  // be created.
  virtual bool Start();
  // Resumes, sets the stop flag, waits without limit for the thread to end
  // and forgets it. Called from the thread itself it only lets go of it.
  virtual void Stop();
  // Adds one to the suspend count of a recorded thread.
  virtual void Suspend();
  // Undoes every Suspend at once.
  virtual void Resume();
  // One unit of the default Run: a 500 ms pause.
  virtual void Step();
  // Calls Step until the stop flag is set.
  virtual void Run();

  bool StopRequested() const { return m_stopFlag.load() != 0; }
  // True while a thread is recorded (from Start to Stop or ReleaseThread).
  bool HasThread() const;
  int SuspendCount() const;
  // True while the thread sits at a wait point because it is suspended.
  bool IsParked() const;

  static constexpr std::chrono::milliseconds kStepPause{500};

protected:
  // A wait point: returns once the thread is not suspended. Returns false
  // when the stop flag is set.
  bool CheckPoint();
  // Pauses for `duration`, cut short by Stop, and honours suspension before
  // returning. Returns false when the stop flag is set.
  bool Pause(std::chrono::milliseconds duration);
  // Lets go of the running thread from inside Run: the object no longer
  // records it and can be deleted by its next owner as soon as Run touches
  // nothing more of it.
  void ReleaseThread();
  void RequestStop();

  // Nonzero asks Run to end.
  std::atomic<std::uint8_t> m_stopFlag{0};

private:
  mutable std::mutex m_lock;
  std::condition_variable m_wake;
  std::thread m_thread;
  int m_suspendCount = 0;
  bool m_parked = false;
};

} // namespace corvesta
