#include "nas/udp/counted_waits.h"

namespace corvesta {

WaitEnd RunCountedWaits(CountedWaits &waits, int count, std::chrono::microseconds wait,
                        std::chrono::microseconds pause) {
  for (int done = 1; done <= count; ++done) {
    const WaitEnd end = waits.Wait(wait);
    if (end != WaitEnd::TimedOut) {
      return end;
    }
    if (done < count && !waits.Pause(pause)) {
      return WaitEnd::Stopped;
    }
  }
  return WaitEnd::TimedOut;
}

} // namespace corvesta
