#include "nas/worker_drain.h"

#include <cstdio>
#include <cstdlib>
#include <thread>

#include "nas/query.h"

namespace corvesta {

bool DrainWorkers(std::chrono::milliseconds limit) {
  const auto until = std::chrono::steady_clock::now() + limit;
  while (CQuery::RunningCount() > 0) {
    if (std::chrono::steady_clock::now() >= until) {
      return false;
    }
    std::this_thread::sleep_for(timing::kWorkerDrainPoll);
  }
  return true;
}

int FinishProcess(int status, std::chrono::milliseconds limit) {
  if (!DrainWorkers(limit)) {
    std::fflush(stdout);
    std::fflush(stderr);
    std::_Exit(status);
  }
  return status;
}

} // namespace corvesta
