#pragma once
// What a front end says when a command that changes the box did not
// succeed: a reply lost after the request went out leaves the change
// possibly made, which the person must hear instead of a plain refusal.

#include <string_view>

#include "worker/private_messages.h"

namespace corvesta {

// kChangeMayHaveBeenMadeText for kResultReplyLost, else `refused` (the
// command's own failure text). English keys; the front end translates.
std::u16string_view ChangeFailureText(WPARAM result, std::u16string_view refused);

} // namespace corvesta
