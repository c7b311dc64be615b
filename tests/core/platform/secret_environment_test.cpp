// The program's secret variables are taken out of its environment: the value
// stays in the process, children see nothing of it.

#include <gtest/gtest.h>

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "platform/secret_environment.h"

extern char **environ;

namespace corvesta {
namespace {

// What `sh -c script` prints, started with the process environment.
std::string ChildSays(const std::string &script) {
  int pipe[2];
  if (::pipe(pipe) != 0) {
    return "no pipe";
  }
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, pipe[1], STDOUT_FILENO);
  posix_spawn_file_actions_addclose(&actions, pipe[0]);
  std::string shell = "sh", dashC = "-c", text = script;
  char *argv[] = {shell.data(), dashC.data(), text.data(), nullptr};
  pid_t pid = 0;
  const int spawned = ::posix_spawnp(&pid, "sh", &actions, nullptr, argv, environ);
  posix_spawn_file_actions_destroy(&actions);
  ::close(pipe[1]);
  std::string out;
  char buffer[256];
  for (ssize_t n; (n = ::read(pipe[0], buffer, sizeof buffer)) > 0;) {
    out.append(buffer, static_cast<std::size_t>(n));
  }
  ::close(pipe[0]);
  if (spawned == 0) {
    int status = 0;
    ::waitpid(pid, &status, 0);
  }
  return out;
}

TEST(SecretEnvironmentTest, TakenVariablesStayInTheProcessAndReachNoChild) {
  ::setenv(kPasswordVariable, "s3cret pass", 1);
  ::setenv("CORVESTA_PASSWORDS_NOT", "kept", 1);
  EXPECT_EQ(SecretVariable(kPasswordVariable), "s3cret pass"); // before the taking
  EXPECT_EQ(ChildSays("printf %s \"${CORVESTA_PASSWORD-unset}\""), "s3cret pass");

  TakeSecretVariables();
  EXPECT_EQ(std::getenv(kPasswordVariable), nullptr);
  EXPECT_EQ(SecretVariable(kPasswordVariable), "s3cret pass");
  EXPECT_EQ(ChildSays("printf %s \"${CORVESTA_PASSWORD-unset}\""), "unset");
  EXPECT_EQ(ChildSays("printf %s \"$CORVESTA_PASSWORDS_NOT\""), "kept");

  // A variable set again later is not the one taken.
  ::setenv(kPasswordVariable, "later", 1);
  EXPECT_EQ(SecretVariable(kPasswordVariable), "s3cret pass");
  ::unsetenv(kPasswordVariable);
  ::unsetenv("CORVESTA_PASSWORDS_NOT");
}

TEST(SecretEnvironmentTest, AChildsEnvironmentLeavesOutExactlyTheSecrets) {
  const char *const environment[] = {"PATH=/bin",
                                     "CORVESTA_PASSWORD=x",
                                     "CORVESTA_PASSWORD=",
                                     "CORVESTA_PASSWORDX=1",
                                     "XCORVESTA_PASSWORD=2",
                                     "CORVESTA_PASSWORD",
                                     "HOME=/root",
                                     nullptr};
  EXPECT_EQ(EnvironmentWithoutSecrets(environment),
            (std::vector<std::string>{"PATH=/bin", "CORVESTA_PASSWORDX=1", "XCORVESTA_PASSWORD=2",
                                      "CORVESTA_PASSWORD", "HOME=/root"}));
  EXPECT_TRUE(EnvironmentWithoutSecrets(nullptr).empty());
}

} // namespace
} // namespace corvesta
