#pragma once
// A center link as the browser gets it: the link is built with the user
// name and password inserted as they are, and only the bytes a link cannot
// hold (blanks, control characters, quotes, angle brackets, braces and the
// like, and every byte beyond ASCII) are written as %XX. '+', '/', '=', '&'
// and the rest stay as they are, as the box's redirect page reads them.

#include <string>
#include <string_view>

namespace corvesta {

std::string BrowserLink(std::string_view link);

} // namespace corvesta
