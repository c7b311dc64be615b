// corvesta-cli-completions: writes what the build makes from the command
// table of corvesta-cli.
//
//   corvesta-cli-completions bash FILE   the bash completion script
//   corvesta-cli-completions zsh FILE    the zsh completion function
//   corvesta-cli-completions commands    the command names, one a line

#include <cstdio>
#include <fstream>
#include <string>
#include <string_view>

#include "cli/command_table.h"
#include "cli/completion_script.h"

namespace {

int WriteFile(const char *path, const std::string &text) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file << text;
  file.close();
  if (!file) {
    std::fprintf(stderr, "corvesta-cli-completions: cannot write %s\n", path);
    return 1;
  }
  return 0;
}

} // namespace

int main(int argc, char **argv) {
  using namespace corvesta::cli;
  const std::string_view what = argc > 1 ? argv[1] : "";
  if (what == "commands" && argc == 2) {
    for (const CommandSpec &command : Commands()) {
      std::printf("%.*s\n", static_cast<int>(command.name.size()), command.name.data());
    }
    return 0;
  }
  if (what == "bash" && argc == 3) {
    return WriteFile(argv[2], BashCompletionScript());
  }
  if (what == "zsh" && argc == 3) {
    return WriteFile(argv[2], ZshCompletionScript());
  }
  std::fprintf(stderr, "usage: corvesta-cli-completions bash FILE | zsh FILE | commands\n");
  return 2;
}
