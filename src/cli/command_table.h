#pragma once
// Every command of corvesta-cli: its name, how it is called, its options
// and its help text.

#include <optional>
#include <string_view>
#include <vector>

#include "cli/arguments.h"
#include "cli/commands.h"

namespace corvesta::cli {

using CommandFunction = ExitStatus (*)(Context &);

struct CommandSpec {
  std::string_view name;
  std::string_view synopsis; // after "corvesta-cli "
  std::string_view summary;  // one line for the program's help
  std::string_view details;  // further lines for the command's help
  std::vector<OptionSpec> options;
  CommandFunction run = nullptr;
  std::size_t minWords = 1; // positional words after the command name
  std::size_t maxWords = 1;
};

const std::vector<CommandSpec> &Commands();
const CommandSpec *FindCommand(std::string_view name);

// The options every command and the program itself take.
const std::vector<OptionSpec> &GlobalOptions();

std::string ProgramHelp();
std::string CommandHelp(const CommandSpec &command);

} // namespace corvesta::cli
