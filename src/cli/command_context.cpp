#include "cli/command_context.h"

#include "app/settings_store.h"
#include "cli/text_output.h"
#include "platform/text_codec.h"

namespace corvesta::cli {

void ReportNotRemembered(Context &context) {
  Err(Utf16ToUtf8(settings::LastWriteProblemText()));
  context.notRemembered = true;
}

} // namespace corvesta::cli
