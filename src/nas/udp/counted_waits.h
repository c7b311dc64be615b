#pragma once
// The counted waits of a UDP exchange with one box: up to a count of waits
// for the box's answer, with a pause after each wait that brought none but
// the last. The exchange supplies the wait and the pause (its channel and
// its worker's wait point); a test supplies its own to see every one.

#include <chrono>

#include "nas/udp/udp_query.h"

namespace corvesta {

class CountedWaits {
public:
  virtual ~CountedWaits() = default;
  // One wait of at most `duration` for the answer.
  virtual WaitEnd Wait(std::chrono::microseconds duration) = 0;
  // A pause, cut short by a stop; false when stopped.
  virtual bool Pause(std::chrono::microseconds duration) = 0;
};

// Accepted at the first wait that brought the answer; Stopped when a wait
// or a pause was stopped; TimedOut after `count` waits without an answer.
WaitEnd RunCountedWaits(CountedWaits &waits, int count, std::chrono::microseconds wait,
                        std::chrono::microseconds pause);

} // namespace corvesta
