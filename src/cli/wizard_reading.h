#pragma once
// Reading the box's current set-up values (name, workgroup, description,
// time zone, network) as each set-up step does before it changes them.

#include <optional>

#include "cli/cli_window.h"
#include "nas/replies/wizard_info.h"

namespace corvesta::cli {

// Nothing (after "Get wizard information failed.") when they could not be read.
std::optional<WizardInfo> ReadWizardValues(CliWindow &window, std::int32_t index);

} // namespace corvesta::cli
