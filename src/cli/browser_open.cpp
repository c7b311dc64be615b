#include "cli/browser_open.h"

#include <spawn.h>
#include <sys/wait.h>

#include <string>

#include "platform/text_codec.h"

extern char **environ;

namespace corvesta::cli {

bool XdgOpenService::OpenLink(std::u16string_view link) {
  std::string program = "xdg-open";
  std::string text = Utf16ToUtf8(link);
  char *argv[] = {program.data(), text.data(), nullptr};
  pid_t pid = 0;
  if (::posix_spawnp(&pid, program.c_str(), nullptr, nullptr, argv, environ) != 0) {
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
