#pragma once
// What every command runs with.

#include "cli/arguments.h"
#include "cli/cli_window.h"

namespace corvesta::cli {

struct Context {
  const Arguments &args;
  CliWindow &window;
};

} // namespace corvesta::cli
