#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/app_data_folder.h"

using namespace corvesta;

namespace {

// Sets or clears an environment variable for the lifetime of the object.
class ScopedEnv {
public:
  ScopedEnv(const char *name, const char *value) : m_name(name) {
    if (const char *old = std::getenv(name)) {
      m_old = old;
    }
    if (value) {
      ::setenv(name, value, 1);
    } else {
      ::unsetenv(name);
    }
  }
  ~ScopedEnv() {
    if (m_old) {
      ::setenv(m_name, m_old->c_str(), 1);
    } else {
      ::unsetenv(m_name);
    }
  }

private:
  const char *m_name;
  std::optional<std::string> m_old;
};

} // namespace

TEST(AppDataFolder, FollowsTheXdgRules) {
  struct Case {
    const char *xdg;
    const char *home;
    std::optional<std::string> expected;
  } cases[] = {
      {"/cfg", "/home/u", "/cfg"},        {nullptr, "/home/u", "/home/u/.config"},
      {"", "/home/u", "/home/u/.config"}, {"relative/path", "/home/u", "/home/u/.config"},
      {nullptr, nullptr, std::nullopt},   {nullptr, "not-absolute", std::nullopt},
  };
  for (const Case &c : cases) {
    ScopedEnv xdg("XDG_CONFIG_HOME", c.xdg);
    ScopedEnv home("HOME", c.home);
    auto folder = ApplicationDataFolder();
    if (c.expected) {
      ASSERT_TRUE(folder) << (c.xdg ? c.xdg : "(unset)");
      EXPECT_EQ(folder->string(), *c.expected);
    } else {
      EXPECT_FALSE(folder);
    }
  }
}

TEST(AppDataFolder, TestOverrideWinsAndCanBeUndone) {
  ScopedEnv xdg("XDG_CONFIG_HOME", "/cfg");
  SetApplicationDataFolderForTesting(std::filesystem::path("/tmp/elsewhere"));
  EXPECT_EQ(ApplicationDataFolder()->string(), "/tmp/elsewhere");
  SetApplicationDataFolderForTesting(std::nullopt);
  EXPECT_EQ(ApplicationDataFolder()->string(), "/cfg");
}
