#pragma once
// The main of a gallery of the real windows against simulated boxes.

#include <functional>

#include "support/nas_sim_process.h"

namespace corvesta::gallery {

// Runs as Run does (gallery_support.h), the shots in their surroundings: the
// platform services, a settings folder of their own, the protocol's timing
// five times faster and nas-sim started with `state`, handed to `shoot`.
int RunAgainstSim(int argc, char *argv[], const char *program, const nlohmann::json &state,
                  const std::function<void(test::NasSimProcess &)> &shoot);

} // namespace corvesta::gallery
