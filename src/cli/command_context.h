#pragma once
// What every command runs with.

#include "cli/arguments.h"
#include "cli/cli_window.h"

namespace corvesta::cli {

struct Context {
  const Arguments &args;
  CliWindow &window;
  // Set when something the person asked to remember could not be written;
  // a command that otherwise succeeded then ends with NotRemembered.
  bool notRemembered = false;
};

// Tells the person why the settings file was not written (the store's last
// problem on this thread) and marks the run.
void ReportNotRemembered(Context &context);

} // namespace corvesta::cli
