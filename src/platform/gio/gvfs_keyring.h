#pragma once
// The passwords GVfs keeps for SMB shares in the desktop's keyring (the
// Secret Service on the session bus): one item per server and user name.

#include <string>

namespace corvesta {

// Deletes the SMB passwords GVfs stored for `user` on `server`, when the
// keyring is there, unlocked and asks nobody; otherwise nothing happens.
// Bounded in time.
void ForgetSmbPassword(const std::string &server, const std::string &user);

} // namespace corvesta
