#include "platform/app_data_folder.h"

#include <cstdlib>
#include <mutex>

namespace corvesta {
namespace {

std::mutex g_lock;
std::optional<std::filesystem::path> g_override;

std::optional<std::filesystem::path> AbsoluteFromEnvironment(const char *name) {
  const char *value = std::getenv(name);
  if (value == nullptr || *value == '\0') {
    return std::nullopt;
  }
  std::filesystem::path path(value);
  if (!path.is_absolute()) {
    return std::nullopt;
  }
  return path;
}

} // namespace

std::optional<std::filesystem::path> ApplicationDataFolder() {
  {
    std::lock_guard guard(g_lock);
    if (g_override) {
      return g_override;
    }
  }
  if (auto xdg = AbsoluteFromEnvironment("XDG_CONFIG_HOME")) {
    return xdg;
  }
  if (auto home = AbsoluteFromEnvironment("HOME")) {
    return *home / ".config";
  }
  return std::nullopt;
}

void SetApplicationDataFolderForTesting(std::optional<std::filesystem::path> folder) {
  std::lock_guard guard(g_lock);
  g_override = std::move(folder);
}

} // namespace corvesta
