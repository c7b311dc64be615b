#pragma once
// The core's UTF-16 texts as QStrings and back; both are UTF-16, so nothing
// is lost either way.

#include <QString>
#include <string>
#include <string_view>

namespace corvesta {

QString ToQString(std::u16string_view text);
std::u16string FromQString(const QString &text);

} // namespace corvesta
