#pragma once
// Test helpers: a temporary folder that stands in for the application-data
// folder, whole-file reads and writes, and bounded waits.

#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
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
  std::filesystem::path SettingsFolder() const;
  std::filesystem::path SettingsFile() const;

private:
  TempFolder m_folder;
};

// The file's bytes; empty when it cannot be read.
std::string ReadFileBytes(const std::filesystem::path &path);

// Replaces the file's contents with `bytes`.
void WriteFileBytes(const std::filesystem::path &path, const std::string &bytes);

// Polls `condition` every millisecond until it holds or `timeout` passes.
bool WaitUntil(const std::function<bool()> &condition, std::chrono::milliseconds timeout);

} // namespace corvesta::test
