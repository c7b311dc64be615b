#include "platform/secret_environment.h"

#include <cstdlib>
#include <map>
#include <mutex>

namespace corvesta {

namespace {

std::mutex g_lock;
bool g_taken = false;
std::map<std::string, std::string, std::less<>> g_values;

bool IsSecret(std::string_view entry) {
  for (std::string_view name : kSecretVariables) {
    if (entry.size() > name.size() && entry.substr(0, name.size()) == name &&
        entry[name.size()] == '=') {
      return true;
    }
  }
  return false;
}

} // namespace

void TakeSecretVariables() {
  std::lock_guard guard(g_lock);
  for (std::string_view name : kSecretVariables) {
    const std::string key(name);
    if (const char *value = std::getenv(key.c_str())) {
      g_values[key] = value;
    }
    ::unsetenv(key.c_str());
  }
  g_taken = true;
}

std::optional<std::string> SecretVariable(std::string_view name) {
  std::lock_guard guard(g_lock);
  if (g_taken) {
    const auto found = g_values.find(name);
    return found == g_values.end() ? std::nullopt : std::optional<std::string>(found->second);
  }
  if (const char *value = std::getenv(std::string(name).c_str())) {
    return std::string(value);
  }
  return std::nullopt;
}

std::vector<std::string> EnvironmentWithoutSecrets(const char *const *environment) {
  std::vector<std::string> kept;
  for (const char *const *entry = environment; entry != nullptr && *entry != nullptr; ++entry) {
    if (!IsSecret(*entry)) {
      kept.emplace_back(*entry);
    }
  }
  return kept;
}

} // namespace corvesta
