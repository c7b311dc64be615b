#pragma once
// The program's environment variables that hold a secret. Each program
// takes them out of its environment first thing in main, before any thread
// runs: the value is kept in the process, and no child it starts (xdg-open,
// the browser or file manager that one starts, for their whole lives) nor
// anything those start inherits it.

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace corvesta {

// The login password for corvesta-cli.
inline constexpr char kPasswordVariable[] = "CORVESTA_PASSWORD";
inline constexpr std::array<std::string_view, 1> kSecretVariables{kPasswordVariable};

// Keeps the value of every secret variable that is set and removes the
// variable from the process environment. Not thread-safe: call it before any
// thread is started.
void TakeSecretVariables();

// The value a secret variable had when it was taken; before any taking, its
// value in the environment. Nothing when it was not set.
std::optional<std::string> SecretVariable(std::string_view name);

// `environment` (an envp array) without the secret variables: an explicit
// environment for a child.
std::vector<std::string> EnvironmentWithoutSecrets(const char *const *environment);

} // namespace corvesta
