#include "cli/wizard_reading.h"

#include "cli/text_output.h"
#include "cli/wait_limits.h"
#include "nas/http/command_set.h"

namespace corvesta::cli {

std::optional<WizardInfo> ReadWizardValues(CliWindow &window, std::int32_t index) {
  if (const Ticket ticket = StartReadWizardInfo(window.Handle(), index); ticket != 0) {
    if (window.WaitForCommand(ticket, CommandIndex::ReadWizard, limits::kWebRequest)
            .value_or(false)) {
      return CurrentWizardInfo();
    }
  }
  Err(Tr(u"Get wizard information failed."));
  return std::nullopt;
}

} // namespace corvesta::cli
