#pragma once
// A timer delay for a sequence: a wait or pause of the protocol, through the
// time scale, in whole milliseconds (never shorter than scaled).

#include <chrono>

#include "nas/protocol_timing.h"

namespace corvesta {

inline std::chrono::milliseconds TimerDelay(std::chrono::milliseconds written) {
  return std::chrono::ceil<std::chrono::milliseconds>(timing::Scaled(written));
}

} // namespace corvesta
