#include "cli/browser_open.h"

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <string>
#include <vector>

#include "platform/secret_environment.h"
#include "platform/text_codec.h"

extern char **environ;

namespace corvesta::cli {

bool XdgOpenService::OpenLink(std::u16string_view link) {
  std::string program = "xdg-open";
  std::string text = Utf16ToUtf8(link);
  char *argv[] = {program.data(), text.data(), nullptr};
  // The program blocks its ending signals (a watcher takes them); the
  // browser opener must not inherit that.
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  sigset_t none;
  sigemptyset(&none);
  posix_spawnattr_setsigmask(&attributes, &none);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK);
  // An environment of its own, without the program's secrets.
  std::vector<std::string> environment = EnvironmentWithoutSecrets(environ);
  std::vector<char *> envp;
  for (std::string &entry : environment) {
    envp.push_back(entry.data());
  }
  envp.push_back(nullptr);
  pid_t pid = 0;
  const int spawned =
      ::posix_spawnp(&pid, program.c_str(), nullptr, &attributes, argv, envp.data());
  posix_spawnattr_destroy(&attributes);
  if (spawned != 0) {
    return false;
  }
  // xdg-open hands the link to the browser and ends; its status tells
  // whether that worked.
  int status = 0;
  if (::waitpid(pid, &status, 0) != pid) {
    return false;
  }
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

bool XdgOpenService::OpenShare(const SharePath &) {
  return false;
}

} // namespace corvesta::cli
