#pragma once
// The windows' texts: the translation of an English text of the system as a
// QString, and the same with "%s" placeholders filled after translation.

#include <QString>
#include <initializer_list>
#include <string_view>

namespace corvesta {

QString UiText(std::u16string_view english);
QString UiText(std::u16string_view english, std::initializer_list<QString> texts);

} // namespace corvesta
