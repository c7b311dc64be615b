// The credential check's waits for a verdict, seen through its wait seam:
// how many waits and pauses, how long each, and in which order, for a box
// that answers at some wait, never answers, or a query that is stopped.

#include <gtest/gtest.h>

#include <chrono>
#include <vector>

#include "nas/protocol_timing.h"
#include "nas/udp/credential_check.h"

using namespace corvesta;
using std::chrono::microseconds;

namespace {

enum class Step { Wait, Pause };

struct Event {
  Step step;
  microseconds duration;
  bool operator==(const Event &) const = default;
};

void PrintTo(const Event &event, std::ostream *out) {
  *out << (event.step == Step::Wait ? "wait " : "pause ") << event.duration.count() << "us";
}

// Answers at wait `answerAt`, reports a stop at wait `stopInWait` or pause
// `stopInPause` (0: never), and records every call.
class ScriptedWaits : public CountedWaits {
public:
  ScriptedWaits(int answerAt, int stopInWait, int stopInPause)
      : m_answerAt(answerAt), m_stopInWait(stopInWait), m_stopInPause(stopInPause) {}

  WaitEnd Wait(microseconds duration) override {
    events.push_back({Step::Wait, duration});
    ++m_waits;
    if (m_waits == m_answerAt) {
      return WaitEnd::Accepted;
    }
    return m_waits == m_stopInWait ? WaitEnd::Stopped : WaitEnd::TimedOut;
  }
  bool Pause(microseconds duration) override {
    events.push_back({Step::Pause, duration});
    ++m_pauses;
    return m_pauses != m_stopInPause;
  }

  std::vector<Event> events;

private:
  int m_answerAt;
  int m_stopInWait;
  int m_stopInPause;
  int m_waits = 0;
  int m_pauses = 0;
};

struct VerdictCase {
  const char *what;
  int answerAt;
  int stopInWait;
  int stopInPause;
  WaitEnd end;
  int waits;
  int pauses;
};

} // namespace

TEST(CredentialVerdictWaits, WaitsAndPausesInTurnUpToTheCount) {
  const int all = timing::kCredWaits;
  const VerdictCase cases[] = {
      {"no verdict: every wait, a pause between each two", 0, 0, 0, WaitEnd::TimedOut, all,
       all - 1},
      {"verdict in the first wait", 1, 0, 0, WaitEnd::Accepted, 1, 0},
      {"verdict in the fourth wait", 4, 0, 0, WaitEnd::Accepted, 4, 3},
      {"verdict in the last wait", all, 0, 0, WaitEnd::Accepted, all, all - 1},
      {"stopped in the third wait", 0, 3, 0, WaitEnd::Stopped, 3, 2},
      {"stopped in the second pause", 0, 0, 2, WaitEnd::Stopped, 2, 2},
  };
  const microseconds wait = timing::Scaled(timing::kCredWait);
  const microseconds pause = timing::Scaled(timing::kCredPause);
  for (const VerdictCase &c : cases) {
    SCOPED_TRACE(c.what);
    ScriptedWaits waits(c.answerAt, c.stopInWait, c.stopInPause);
    EXPECT_EQ(AwaitCredentialVerdict(waits), c.end);
    std::vector<Event> expected;
    for (int i = 0; i < c.waits; ++i) {
      expected.push_back({Step::Wait, wait});
      if (i < c.pauses) {
        expected.push_back({Step::Pause, pause});
      }
    }
    EXPECT_EQ(waits.events, expected);
  }
}
