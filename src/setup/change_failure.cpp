#include "setup/change_failure.h"

#include "i18n/own_texts.h"

namespace corvesta {

std::u16string_view ChangeFailureText(WPARAM result, std::u16string_view refused) {
  return result == kResultReplyLost ? kChangeMayHaveBeenMadeText : refused;
}

} // namespace corvesta
