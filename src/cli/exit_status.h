#pragma once
// The exit statuses of corvesta-cli.

namespace corvesta::cli {

enum class ExitStatus : int {
  Success = 0,       // everything asked was done
  Failed = 1,        // the box refused, an operation failed or a question was declined
  Usage = 2,         // wrong command line or an input value that cannot be used
  BoxNotFound = 3,   // no box answered to the name, address or hardware address given
  NotRemembered = 4, // what was asked was done, but the login could not be remembered
};

inline int ToInt(ExitStatus status) {
  return static_cast<int>(status);
}

} // namespace corvesta::cli
