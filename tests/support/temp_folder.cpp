#include "support/temp_folder.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>

#include "platform/app_data_folder.h"

namespace corvesta::test {

TempFolder::TempFolder() {
  std::string pattern = (std::filesystem::temp_directory_path() / "corvesta-test-XXXXXX").string();
  if (::mkdtemp(pattern.data()) == nullptr) {
    throw std::runtime_error("mkdtemp failed");
  }
  m_path = pattern;
}

TempFolder::~TempFolder() {
  std::error_code error;
  std::filesystem::remove_all(m_path, error);
}

ScopedAppDataFolder::ScopedAppDataFolder() {
  SetApplicationDataFolderForTesting(m_folder.Path());
}

ScopedAppDataFolder::~ScopedAppDataFolder() {
  SetApplicationDataFolderForTesting(std::nullopt);
}

std::filesystem::path ScopedAppDataFolder::SettingsFolder() const {
  return m_folder.Path() / "Utility";
}

std::filesystem::path ScopedAppDataFolder::SettingsFile() const {
  return SettingsFolder() / "Utility.ini";
}

std::string ReadFileBytes(const std::filesystem::path &path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

void WriteFileBytes(const std::filesystem::path &path, const std::string &bytes) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

bool WaitUntil(const std::function<bool()> &condition, std::chrono::milliseconds timeout) {
  auto deadline = std::chrono::steady_clock::now() + timeout;
  while (!condition()) {
    if (std::chrono::steady_clock::now() >= deadline) {
      return condition();
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return true;
}

} // namespace corvesta::test
