#pragma once
// Chooses the reply parser of a query by its kind and command index, and
// gives the exchange's result for the commands that have no parser.

#include <string_view>

#include "nas/query.h"
#include "nas/replies/reply_parsers.h"

namespace corvesta {

// `reply` is the whole reply text, status line and headers included.
ParseOutcome ParseReply(CQuery &query, std::string_view reply);

} // namespace corvesta
