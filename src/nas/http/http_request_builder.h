#pragma once
// The one request format of the web service: a POST of a form body to the
// command's path, with Basic authorisation as "admin" and the current
// password, and a cookie naming the current user.

#include <optional>
#include <string>
#include <string_view>

#include "nas/current_credentials.h"

namespace corvesta {

class CQuery;

// The whole request text. Nothing when it would exceed the request limit or
// the password makes the authorisation text too long; a request is never cut.
std::optional<std::string> FormatHttpRequest(std::string_view path, std::string_view host,
                                             std::string_view body, const Credentials &credentials);

// Builds the request of the query's command (kind and command index already
// set) with the current credentials, for the box at the query's device index:
// the request text, the target address and port 80. False, with the query's
// request left empty, when the device index is not in the device list, the
// box's address does not fit the target field, or the request would exceed
// its limit.
//
// With `host` given, the request goes to that address instead of the box's
// listed one (a box whose address was changed and not yet confirmed).
bool BuildHttpRequest(CQuery &query, std::string_view body, std::string_view host = {});

} // namespace corvesta
