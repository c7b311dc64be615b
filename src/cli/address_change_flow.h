#pragma once
// A new address for a box by datagram, as the set-IP dialog gives it: from
// the options --dhcp, or --static --ip A --mask M [--gateway G]; then the
// box is searched for again by its hardware address.

#include <functional>

#include "cli/box_selection.h"
#include "cli/command_context.h"
#include "cli/exit_status.h"
#include "setup/address_change_sequence.h"

namespace corvesta::cli {

// True when the command line carries --dhcp or --static.
bool HasAddressOptions(const Arguments &arguments);

// True when the address options can be used; otherwise the reason has been
// shown and `failure` is set. Checked before any password goes out.
bool AddressOptionsUsable(const Arguments &arguments, ExitStatus &failure);

struct AddressChangeRun {
  // Success once the box has taken the settings, or when DHCP was asked for
  // a box that already uses DHCP (nothing was sent then); the reason has
  // been shown otherwise.
  ExitStatus status = ExitStatus::Failed;
  // With Success: the search that followed (Found, NotFoundYet or
  // SearchFailed with its message still to show).
  AddressChangeOutcome search;
};

// Checks the options, asks the gateway question when there is one, sends the
// change and waits for the box's acknowledgement; `taken` is called then,
// before the box is searched for again.
AddressChangeRun ChangeBoxAddress(Context &context, const BoxChoice &box,
                                  const std::function<void()> &taken);

} // namespace corvesta::cli
