#pragma once
// The windows' texts: the translation of an English text of the system as a
// QString, and the same with its "%s" placeholders filled after translation.

#include <QString>
#include <string_view>

namespace corvesta {

QString UiText(std::u16string_view english);
QString UiText(std::u16string_view english, const QString &text);
QString UiText(std::u16string_view english, const QString &first, const QString &second);

} // namespace corvesta
