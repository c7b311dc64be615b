#pragma once
// The copyright line at the foot of the main window. It is passed through
// Translate like every shown text, so every translation table holds it.

#include <string_view>

namespace corvesta {

inline constexpr std::u16string_view kCopyrightFooter =
    u"Copyright \u00A9 2026 Corvesta. All Rights Reserved.";

} // namespace corvesta
