#pragma once
// Where the login user name and password come from, in this order:
//   user:     --user, else the box's remembered "UserName", else "admin";
//   password: --password-stdin (the first line of standard input), else the
//             environment variable CORVESTA_PASSWORD, else the remembered
//             "PassWord" (when it belongs to that user), else a prompt
//             without echo when standard input is a terminal; with none of
//             these the login is refused before anything is sent.
// --remember stores them for the box as "Remember Me" does, once the box has
// accepted them; --forget empties them at once, as an unticked "Remember Me"
// does. Without either, what is stored stays as it is.

#include <optional>
#include <string>

#include "cli/arguments.h"
#include "cli/exit_status.h"
#include "platform/secret_environment.h"

namespace corvesta::cli {

inline constexpr const char *kPasswordEnvironment = kPasswordVariable;
inline constexpr char kDefaultUser[] = "admin";

struct LoginInput {
  std::string user;     // UTF-8
  std::string password; // UTF-8
};

// Gathers the login for the box; nothing (after a message, `failure` set)
// when a value cannot be used.
std::optional<LoginInput> GatherLogin(const Arguments &arguments, const std::string &section,
                                      const std::string &boxLabel,
                                      const std::optional<std::string> &presetPassword,
                                      ExitStatus &failure);

} // namespace corvesta::cli
