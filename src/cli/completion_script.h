#pragma once
// The shell completions of corvesta-cli, written from its command table so
// that they follow every command and option: bash and zsh scripts. Box
// names are offered from the boxes remembered in the settings file, never
// from a probe of the network.

#include <string>
#include <vector>

#include "cli/command_table.h"

namespace corvesta::cli {

// What a positional word after the command may be.
struct PositionalWord {
  bool box = false;                 // a NAS: the remembered boxes
  bool optional = false;            // "[BOX]"
  std::vector<std::string> choices; // one of these words
};

// Read from the command's synopsis: "BOX", "[BOX]" and "a|b|c" before the
// first option.
std::vector<PositionalWord> PositionalWords(const CommandSpec &command);

std::string BashCompletionScript();
std::string ZshCompletionScript();

} // namespace corvesta::cli
