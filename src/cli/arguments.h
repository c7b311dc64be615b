#pragma once
// The command line: a command name, its positional words and its options.
// Options are "--name value", "--name=value" or a bare "--name" flag; "--"
// ends the options. Each command declares the options it takes, so a
// misspelt or misplaced option is refused instead of silently ignored.

#include <functional>
#include <map>
#include <optional>
#include <set>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace corvesta::cli {

struct OptionSpec {
  std::string_view name;      // without the leading "--"
  std::string_view valueName; // empty for a flag
  std::string_view help;

  bool TakesValue() const { return !valueName.empty(); }
};

class Arguments {
public:
  std::string command;
  std::vector<std::string> words; // positional words after the command

  bool Has(std::string_view name) const;
  std::optional<std::string> Value(std::string_view name) const;
  // The positional word at `index`, empty when there is none.
  std::string Word(std::size_t index) const;

  void SetFlag(std::string_view name) { m_flags.emplace(name); }
  void SetValue(std::string_view name, std::string value) {
    m_values.emplace(std::string(name), std::move(value));
  }

private:
  std::set<std::string, std::less<>> m_flags;
  std::map<std::string, std::string, std::less<>> m_values;
};

struct ParsedCommandLine {
  std::optional<Arguments> arguments; // nothing when the line is wrong
  std::string error;                  // what is wrong, for the usage message
};

// The first word that is not an option names the command; `optionsOf`
// gives the options that command takes (nothing for an unknown command, in
// which case only the words are collected). Options before the command are
// checked against the command's options as well.
ParsedCommandLine ParseCommandLine(
    std::span<const std::string> argv,
    const std::function<std::optional<std::vector<OptionSpec>>(std::string_view)> &optionsOf);

} // namespace corvesta::cli
