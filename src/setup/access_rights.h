#pragma once
// What a user who is not the administrator may open, from the access text
// of the user access reply.

#include <string_view>

namespace corvesta {

struct CenterRights {
  bool download = false;
  bool backup = false;
  bool management = false;
  bool surveillance = false;
};

// Positions 2, 6, 8 and 10 of the text open the download, backup,
// management and surveillance centers; each is open unless its character is
// '0', and a position beyond the end of the text counts as '0'. An empty
// text gives no rights at all.
CenterRights RightsFromAccessText(std::u16string_view access);

} // namespace corvesta
