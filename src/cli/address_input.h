#pragma once
// Addresses given on the command line ("192.168.1.10"), checked for their
// kind as the address fields check them, and the gateway question.

#include <optional>
#include <string>
#include <string_view>

#include "setup/address_entry.h"

namespace corvesta::cli {

// The address as "%u.%u.%u.%u" when it is complete and valid for `kind`;
// otherwise the field's message is shown and nothing is returned.
std::optional<std::string> ReadAddressText(std::string_view text, AddressKind kind);

// True when the gateway lies in the subnet of the address and mask
// (GatewayInSubnet), or when the person confirms the gateway warning (--yes
// or a terminal answer).
bool ConfirmGateway(std::string_view ip, std::string_view mask, std::string_view gateway);

} // namespace corvesta::cli
