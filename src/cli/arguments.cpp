#include "cli/arguments.h"

#include <algorithm>

namespace corvesta::cli {

bool Arguments::Has(std::string_view name) const {
  return m_flags.contains(name) || m_values.find(name) != m_values.end();
}

std::optional<std::string> Arguments::Value(std::string_view name) const {
  if (auto it = m_values.find(name); it != m_values.end()) {
    return it->second;
  }
  return std::nullopt;
}

std::string Arguments::Word(std::size_t index) const {
  return index < words.size() ? words[index] : std::string();
}

namespace {

bool IsOption(std::string_view word) {
  return word.size() > 2 && word.starts_with("--");
}

std::string_view CommandName(std::span<const std::string> argv) {
  for (const std::string &word : argv) {
    if (word == "--") {
      break;
    }
    if (!IsOption(word) && !(word.size() > 1 && word[0] == '-')) {
      return word;
    }
  }
  return {};
}

} // namespace

ParsedCommandLine ParseCommandLine(
    std::span<const std::string> argv,
    const std::function<std::optional<std::vector<OptionSpec>>(std::string_view)> &optionsOf) {
  ParsedCommandLine parsed;
  const std::string_view command = CommandName(argv);
  const std::optional<std::vector<OptionSpec>> known = optionsOf(command);
  const std::vector<OptionSpec> knownOptions = known.value_or(std::vector<OptionSpec>{});

  Arguments arguments;
  bool commandSeen = false;
  bool optionsEnded = false;
  for (std::size_t i = 0; i < argv.size(); ++i) {
    const std::string &word = argv[i];
    if (!optionsEnded && word == "--") {
      optionsEnded = true;
      continue;
    }
    if (optionsEnded || !IsOption(word)) {
      if (!optionsEnded && word.size() > 1 && word[0] == '-') {
        parsed.error = "unknown option \"" + word + "\"";
        return parsed;
      }
      if (!commandSeen) {
        arguments.command = word;
        commandSeen = true;
      } else {
        arguments.words.push_back(word);
      }
      continue;
    }
    const std::string_view body = std::string_view(word).substr(2);
    const std::size_t equals = body.find('=');
    const std::string_view name = body.substr(0, equals);
    auto option = std::find_if(knownOptions.begin(), knownOptions.end(),
                               [&](const OptionSpec &candidate) { return candidate.name == name; });
    if (option == knownOptions.end()) {
      parsed.error = command.empty() || !known
                         ? "unknown option \"--" + std::string(name) + "\""
                         : "the command \"" + std::string(command) + "\" takes no option \"--" +
                               std::string(name) + "\"";
      return parsed;
    }
    if (arguments.Has(name)) {
      parsed.error = "the option \"--" + std::string(name) + "\" is given twice";
      return parsed;
    }
    if (!option->TakesValue()) {
      if (equals != std::string_view::npos) {
        parsed.error = "the option \"--" + std::string(name) + "\" takes no value";
        return parsed;
      }
      arguments.SetFlag(name);
      continue;
    }
    if (equals != std::string_view::npos) {
      arguments.SetValue(name, std::string(body.substr(equals + 1)));
      continue;
    }
    if (i + 1 >= argv.size()) {
      parsed.error = "the option \"--" + std::string(name) + "\" needs a value (" +
                     std::string(option->valueName) + ")";
      return parsed;
    }
    arguments.SetValue(name, argv[++i]);
  }
  parsed.arguments = std::move(arguments);
  return parsed;
}

} // namespace corvesta::cli
