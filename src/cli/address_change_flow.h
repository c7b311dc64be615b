#pragma once
// A new address for a box by datagram, as the set-IP dialog gives it: from
// the options --dhcp, or --static --ip A --mask M [--gateway G].

#include "cli/box_selection.h"
#include "cli/command_context.h"
#include "cli/exit_status.h"

namespace corvesta::cli {

// True when the command line carries --dhcp or --static.
bool HasAddressOptions(const Arguments &arguments);

// Checks the options, sends the change and waits for the box's
// acknowledgement. Success also when DHCP is asked for a box that already
// uses DHCP (nothing is sent then).
ExitStatus ChangeBoxAddress(Context &context, const BoxChoice &box);

} // namespace corvesta::cli
