#pragma once
// The commands of corvesta-cli, one function each.

#include "cli/command_context.h"
#include "cli/exit_status.h"

namespace corvesta::cli {

ExitStatus RunDiscover(Context &context);
ExitStatus RunSetIp(Context &context);
ExitStatus RunConnect(Context &context);
ExitStatus RunShares(Context &context);
ExitStatus RunCenter(Context &context);
ExitStatus RunInfo(Context &context);
ExitStatus RunPassword(Context &context);
ExitStatus RunIdentity(Context &context);
ExitStatus RunTimeZone(Context &context);
ExitStatus RunNetwork(Context &context);
ExitStatus RunDisks(Context &context);
ExitStatus RunFormat(Context &context);
ExitStatus RunDrives(Context &context);
ExitStatus RunMap(Context &context);
ExitStatus RunUnmap(Context &context);
ExitStatus RunReconnect(Context &context);

} // namespace corvesta::cli
