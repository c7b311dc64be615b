#pragma once
// The core's UTF-16 texts as QStrings and back; both are UTF-16, so nothing
// is lost either way.

#include <QString>
#include <string>
#include <string_view>

namespace corvesta {

QString ToQString(std::u16string_view text);
std::u16string FromQString(const QString &text);

// A text from a box (a name, an address, a share) as it is shown on one line:
// the C0 controls and DEL as their Unicode control pictures (U+2400 to
// U+241F, U+2421), the C1 controls, the line and paragraph separators and
// the bidirectional embeddings, overrides and isolates as U+FFFD. What is
// shown can then neither break the line nor reorder what follows it; the
// text kept for the box itself stays as it was.
QString OneLineText(const QString &text);

} // namespace corvesta
