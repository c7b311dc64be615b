#pragma once
// Test helpers: a temporary folder that stands in for the application-data
// folder, and bounded waits.

#include <chrono>
#include <filesystem>
#include <functional>
#include <thread>

namespace corvesta::test {

// A fresh folder under the system's temporary folder, removed with its
// contents when the object goes away.
class TempFolder {
public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder &) = delete;
  TempFolder &operator=(const TempFolder &) = delete;
  const std::filesystem::path &Path() const { return m_path; }

private:
  std::filesystem::path m_path;
};

// Points the application-data folder at a TempFolder for the object's
// lifetime, so settings tests never touch the real home folder.
class ScopedAppDataFolder {
public:
  ScopedAppDataFolder();
  ~ScopedAppDataFolder();
  const std::filesystem::path &Path() const { return m_folder.Path(); }
  std::filesystem::path SettingsFile() const;

private:
  TempFolder m_folder;
};

// Polls `condition` every millisecond until it holds or `timeout` passes.
bool WaitUntil(const std::function<bool()> &condition, std::chrono::milliseconds timeout);

} // namespace corvesta::test
