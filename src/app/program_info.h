#pragma once
// The program's name as the user sees it: window titles and the caption of
// every message box.

#include <string_view>

namespace corvesta {

inline constexpr std::u16string_view kProgramTitle = u"Corvesta";

} // namespace corvesta
