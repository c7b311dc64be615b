#include "nas/protocol_timing.h"

#include <atomic>

namespace corvesta::timing {

namespace {
std::atomic<double> g_scale{1.0};
} // namespace

std::chrono::microseconds Scaled(milliseconds duration) {
  double us = static_cast<double>(std::chrono::microseconds(duration).count()) * g_scale.load();
  return std::chrono::microseconds(static_cast<std::chrono::microseconds::rep>(us));
}

milliseconds ScaledMilliseconds(milliseconds duration) {
  return std::chrono::ceil<milliseconds>(Scaled(duration));
}

void SetTimeScaleForTests(double factor) {
  if (factor > 0.0) {
    g_scale.store(factor);
  }
}

double TimeScale() {
  return g_scale.load();
}

} // namespace corvesta::timing
