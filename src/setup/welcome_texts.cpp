#include "setup/welcome_texts.h"

#include "i18n/format_pattern.h"
#include "i18n/translate.h"

namespace corvesta {

namespace {
constexpr std::u16string_view kWelcomeText = u"Welcome %s";
constexpr std::u16string_view kFirstRunText =
    u"Welcome %s, do you want to go to wizard to setup your %s?";
} // namespace

std::u16string WelcomeText(std::u16string_view user) {
  return FillPattern(Translate(kWelcomeText), {user});
}

std::u16string FirstRunQuestion(std::u16string_view user) {
  return FillPattern(Translate(kFirstRunText), {user, kModelName});
}

} // namespace corvesta
