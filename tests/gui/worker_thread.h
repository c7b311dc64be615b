#pragma once
// A worker thread for a QtTest function on the UI thread. A failed QVERIFY
// or QCOMPARE returns from the test function at once; a plain std::thread
// still joinable then ends the whole test binary. This one is always joined:
// on the way out it keeps the UI thread's event loop turning until the work
// has ended, so a worker that waits for the UI thread (a message box, a
// blocking post) is answered and ends instead of hanging the join. A test
// that gets to its own Join() joins as with a plain thread, without turning
// the loop, so it still sees what the loop has not yet delivered.

#include <QCoreApplication>
#include <QEventLoop>
#include <atomic>
#include <functional>
#include <thread>

namespace corvesta::test {

class WorkerThread {
public:
  explicit WorkerThread(std::function<void()> work)
      : m_thread([this, work = std::move(work)] {
          work();
          m_done.store(true);
        }) {}
  // A test that left early: the event loop turns until the work has ended.
  ~WorkerThread() {
    if (!m_thread.joinable()) {
      return;
    }
    while (!m_done.load()) {
      QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    m_thread.join();
  }
  WorkerThread(const WorkerThread &) = delete;
  WorkerThread &operator=(const WorkerThread &) = delete;

  // Joins without turning the event loop, as std::thread::join does.
  void Join() {
    if (m_thread.joinable()) {
      m_thread.join();
    }
  }

private:
  std::atomic<bool> m_done{false}; // declared first: the thread may set it at once
  std::thread m_thread;
};

} // namespace corvesta::test
