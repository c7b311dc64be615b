#pragma once
// What people are told about a network drive call: the English text of each
// failure cause (translate it before showing), and the two-line message of a
// failed mapping.

#include <string>
#include <string_view>

#include "platform/network_drives.h"

namespace corvesta {

// The English text of a cause; empty for None.
std::u16string_view DriveCauseText(DriveCause cause);

// `headline` translated, then the cause's text translated on a second line
// (no second line for None).
std::u16string DriveFailureMessage(std::u16string_view headline, DriveCause cause);

} // namespace corvesta
