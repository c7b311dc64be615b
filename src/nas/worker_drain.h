#pragma once
// The end of the program. A request that was given up on may still run on
// its detached worker, which uses process-wide objects (the message store,
// the window registry, the device list, the settings store). Static
// destructors must not pull those away from under it: the program's main
// and corvesta-cli end through FinishProcess.

#include <chrono>

#include "nas/protocol_timing.h"

namespace corvesta {

// Waits until no request worker runs, at most `limit`. True when none runs.
bool DrainWorkers(std::chrono::milliseconds limit = timing::kWorkerDrain);

// Drains the workers, then returns `status` to be returned from main. When a
// worker still runs after `limit`, flushes standard output and error and ends
// the process at once with `status`, without static destructors.
int FinishProcess(int status, std::chrono::milliseconds limit = timing::kWorkerDrain);

} // namespace corvesta
