#pragma once

#include <cstdint>

namespace corvesta {

// A request's identity for the windows: nonzero and never repeated within a
// run. 0 means "nothing started".
using Ticket = std::uint64_t;

Ticket NextTicket();

} // namespace corvesta
