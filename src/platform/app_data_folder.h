#pragma once
// The user's application-data folder: $XDG_CONFIG_HOME, or ~/.config when
// that is unset, empty or not an absolute path. Tests point it at a folder of
// their own so that they never touch the real home folder.

#include <filesystem>
#include <optional>

namespace corvesta {

// The folder, or nothing when neither XDG_CONFIG_HOME nor HOME gives one.
// The folder itself is not created.
std::optional<std::filesystem::path> ApplicationDataFolder();

// Replaces the folder for this process (tests only); nullopt restores the
// environment's folder.
void SetApplicationDataFolderForTesting(std::optional<std::filesystem::path> folder);

} // namespace corvesta
