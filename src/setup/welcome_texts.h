#pragma once
// The greetings after a login: the welcome line and the first-run offer of
// the set-up steps, which name the box's model.

#include <string>
#include <string_view>

namespace corvesta {

// The model the messages name.
inline constexpr std::u16string_view kModelName = u"KS-310";

// "Welcome USER", translated.
std::u16string WelcomeText(std::u16string_view user);

// "Welcome USER, do you want to go to wizard to setup your KS-310?",
// translated.
std::u16string FirstRunQuestion(std::u16string_view user);

} // namespace corvesta
