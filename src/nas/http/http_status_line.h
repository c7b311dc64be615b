#pragma once
// The status check of a reply: it must begin with "HTTP/1.0 200".

#include <string_view>

namespace corvesta {

// True when the reply begins with "HTTP/", the version up to the next blank
// is exactly "1.0", and the status after that blank, up to the next blank or
// line end, is exactly "200". Every other version (1.1 included), status or
// text fails.
bool StatusLineAccepted(std::string_view reply);

} // namespace corvesta
