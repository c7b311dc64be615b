#include <gtest/gtest.h>

#include <atomic>

#include "support/temp_folder.h"
#include "worker/thread.h"

using namespace corvesta;
using namespace std::chrono_literals;
using corvesta::test::WaitUntil;

namespace {

// Counts its steps; each step is a short pause, so the thread passes its
// wait points often.
class CountingThread : public CThread {
public:
  ~CountingThread() override { Stop(); }
  void Step() override {
    ++steps;
    Pause(1ms);
  }
  std::atomic<int> steps{0};
};

// Runs until stopped, recording how many times Run was entered.
class RunCounter : public CThread {
public:
  ~RunCounter() override { Stop(); }
  void Run() override {
    ++runs;
    while (CheckPoint()) {
      Pause(1ms);
    }
    ++endedRuns;
  }
  std::atomic<int> runs{0};
  std::atomic<int> endedRuns{0};
};

bool Advances(const CountingThread &thread) {
  int before = thread.steps.load();
  return WaitUntil([&] { return thread.steps.load() > before + 2; }, 5s);
}

} // namespace

TEST(Thread, StartRunsStepsUntilStop) {
  CountingThread thread;
  EXPECT_FALSE(thread.HasThread());
  ASSERT_TRUE(thread.Start());
  EXPECT_TRUE(thread.HasThread());
  EXPECT_TRUE(Advances(thread));
  thread.Stop();
  EXPECT_FALSE(thread.HasThread());
  EXPECT_TRUE(thread.StopRequested());
  int after = thread.steps.load();
  std::this_thread::sleep_for(5ms);
  EXPECT_EQ(thread.steps.load(), after);
}

TEST(Thread, OneResumeUndoesThreeSuspends) {
  CountingThread thread;
  ASSERT_TRUE(thread.Start());
  thread.Suspend();
  thread.Suspend();
  thread.Suspend();
  EXPECT_EQ(thread.SuspendCount(), 3);
  ASSERT_TRUE(WaitUntil([&] { return thread.IsParked(); }, 5s));
  int parkedAt = thread.steps.load();
  EXPECT_TRUE(thread.IsParked());
  EXPECT_EQ(thread.steps.load(), parkedAt);

  thread.Resume();
  EXPECT_EQ(thread.SuspendCount(), 0);
  EXPECT_TRUE(Advances(thread));
}

TEST(Thread, StopEndsASuspendedThread) {
  CountingThread thread;
  ASSERT_TRUE(thread.Start());
  thread.Suspend();
  thread.Suspend();
  ASSERT_TRUE(WaitUntil([&] { return thread.IsParked(); }, 5s));
  thread.Stop(); // would hang forever if Stop did not resume first
  EXPECT_FALSE(thread.HasThread());
  EXPECT_FALSE(thread.IsParked());
}

TEST(Thread, StartWhileRunningStopsTheOldThreadFirst) {
  RunCounter thread;
  ASSERT_TRUE(thread.Start());
  ASSERT_TRUE(WaitUntil([&] { return thread.runs.load() == 1; }, 5s));
  ASSERT_TRUE(thread.Start());
  // The first run had ended before the second began.
  EXPECT_EQ(thread.endedRuns.load(), 1);
  ASSERT_TRUE(WaitUntil([&] { return thread.runs.load() == 2; }, 5s));
  EXPECT_FALSE(thread.StopRequested()); // cleared for the new thread
  thread.Stop();
  EXPECT_EQ(thread.endedRuns.load(), 2);
}

TEST(Thread, SuspendAndResumeWithoutThreadDoNothing) {
  CountingThread thread;
  thread.Suspend();
  EXPECT_EQ(thread.SuspendCount(), 0);
  thread.Resume();
  thread.Stop();
  EXPECT_FALSE(thread.HasThread());
  ASSERT_TRUE(thread.Start()); // a suspend before Start does not carry over
  EXPECT_TRUE(Advances(thread));
}

TEST(Thread, StopCutsTheDefaultHalfSecondStepShort) {
  // The default Run pauses 500 ms per step; Stop must not wait that out
  // more than once, and the thread must end.
  CThread thread;
  ASSERT_TRUE(thread.Start());
  thread.Stop();
  EXPECT_FALSE(thread.HasThread());
}

TEST(Thread, ReleasedThreadLetsTheObjectBeDeletedElsewhere) {
  // A worker that lets go of its thread and hands itself over, as a query
  // does when it posts its result.
  struct Handover : CThread {
    std::atomic<Handover *> *slot = nullptr;
    void Run() override {
      ReleaseThread();
      slot->store(this);
    }
  };
  std::atomic<Handover *> slot{nullptr};
  auto *worker = new Handover;
  worker->slot = &slot;
  ASSERT_TRUE(worker->Start());
  ASSERT_TRUE(WaitUntil([&] { return slot.load() != nullptr; }, 5s));
  EXPECT_FALSE(slot.load()->HasThread());
  delete slot.load(); // must neither join nor crash
}
