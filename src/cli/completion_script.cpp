#include "cli/completion_script.h"

#include <algorithm>
#include <set>
#include <sstream>

#include "app/settings_keys.h"
#include "platform/text_codec.h"

namespace corvesta::cli {

namespace {

std::vector<std::string> SplitOn(std::string_view text, char separator) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  while (start <= text.size()) {
    const std::size_t end = std::min(text.find(separator, start), text.size());
    if (end > start) {
      parts.emplace_back(text.substr(start, end - start));
    }
    start = end + 1;
  }
  return parts;
}

bool IsChoiceWord(std::string_view word) {
  return !word.empty() && word[0] != '-' && std::all_of(word.begin(), word.end(), [](char c) {
    return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-';
  });
}

std::string Joined(const std::vector<std::string> &words, std::string_view separator = " ") {
  std::string text;
  for (const std::string &word : words) {
    if (!text.empty()) {
      text += separator;
    }
    text += word;
  }
  return text;
}

std::vector<std::string> OptionWords(const std::vector<OptionSpec> &options) {
  std::vector<std::string> words;
  for (const OptionSpec &option : options) {
    words.push_back("--" + std::string(option.name));
  }
  return words;
}

std::vector<std::string> CommandNames() {
  std::vector<std::string> names;
  for (const CommandSpec &command : Commands()) {
    names.emplace_back(command.name);
  }
  return names;
}

// Options that take a value, over every command: their value is skipped
// when the words before the cursor are read.
std::vector<std::string> ValuedOptions() {
  std::set<std::string> names;
  for (const CommandSpec &command : Commands()) {
    for (const OptionSpec &option : command.options) {
      if (option.TakesValue()) {
        names.insert("--" + std::string(option.name));
      }
    }
  }
  return {names.begin(), names.end()};
}

// The sections of the settings file that name no box, in lower case.
std::vector<std::string> ReservedSections() {
  std::vector<std::string> names;
  for (std::u16string_view section :
       {settings::kSectionLanguage, settings::kSectionCurrent, settings::kSectionUsed}) {
    std::string name = Utf16ToUtf8(section);
    std::transform(name.begin(), name.end(), name.begin(), [](char c) {
      return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    });
    names.push_back(name);
  }
  return names;
}

std::string SettingsFileShell() {
  return "${XDG_CONFIG_HOME:-$HOME/.config}/" + std::string(settings::kFolderName) + "/" +
         std::string(settings::kFileName);
}

// Single-quoted for the shell.
std::string Quoted(std::string_view text) {
  std::string quoted = "'";
  for (char c : text) {
    if (c == '\'') {
      quoted += "'\\''";
    } else {
      quoted += c;
    }
  }
  return quoted + "'";
}

// Text inside the brackets of a zsh option description.
std::string ZshDescription(std::string_view text) {
  std::string escaped;
  for (char c : text) {
    if (c == '[' || c == ']' || c == ':' || c == '\\') {
      escaped += '\\';
    }
    escaped += c;
  }
  return escaped;
}

std::string BashPositionalCases(const CommandSpec &command) {
  std::string text;
  const std::vector<PositionalWord> words = PositionalWords(command);
  for (std::size_t i = 0; i < words.size(); ++i) {
    text += "      " + std::to_string(i) + ") ";
    if (words[i].box) {
      text += "_corvesta_cli_boxes \"$cur\" ;;\n";
    } else {
      text += "COMPREPLY=($(compgen -W \"" + Joined(words[i].choices) + "\" -- \"$cur\")) ;;\n";
    }
  }
  return text;
}

std::string ZshCommandArguments(const CommandSpec &command) {
  std::string text = "      _arguments -s";
  for (const OptionSpec &option : command.options) {
    std::string entry = "--" + std::string(option.name);
    if (option.TakesValue()) {
      entry += "=[" + ZshDescription(option.help) + "]:" + std::string(option.valueName) + ": ";
    } else {
      entry += "[" + ZshDescription(option.help) + "]";
    }
    text += " \\\n        " + Quoted(entry);
  }
  const std::vector<PositionalWord> words = PositionalWords(command);
  for (std::size_t i = 0; i < words.size(); ++i) {
    std::string entry = std::to_string(i + 1) + (words[i].optional ? "::" : ":");
    if (words[i].box) {
      entry += "NAS:_corvesta-cli_boxes";
    } else {
      entry += "choice:(" + Joined(words[i].choices) + ")";
    }
    text += " \\\n        " + Quoted(entry);
  }
  return text + " ;;\n";
}

} // namespace

std::vector<PositionalWord> PositionalWords(const CommandSpec &command) {
  std::vector<PositionalWord> words;
  const std::vector<std::string> tokens = SplitOn(command.synopsis, ' ');
  for (std::size_t i = 1; i < tokens.size(); ++i) {
    std::string_view token = tokens[i];
    PositionalWord word;
    if (token.size() > 2 && token.front() == '[' && token.back() == ']') {
      word.optional = true;
      token = token.substr(1, token.size() - 2);
    }
    if (token == "BOX") {
      word.box = true;
    } else {
      word.choices = SplitOn(token, '|');
      if (word.choices.size() < 2 ||
          !std::all_of(word.choices.begin(), word.choices.end(),
                       [](const std::string &c) { return IsChoiceWord(c); })) {
        break;
      }
    }
    words.push_back(std::move(word));
  }
  return words;
}

std::string BashCompletionScript() {
  std::ostringstream out;
  out << "# bash completion for corvesta-cli. Written by the build from the program's\n"
         "# command table; box names come from the remembered boxes of the settings file.\n"
         "\n"
         "_corvesta_cli_boxes() {\n"
         "  local file=\""
      << SettingsFileShell()
      << "\" line name\n"
         "  [[ -r $file ]] || return 0\n"
         "  while IFS= read -r line || [[ -n $line ]]; do\n"
         "    line=${line%$'\\r'}\n"
         "    [[ $line =~ ^[[:space:]]*\\[([^]]*)\\][[:space:]]*$ ]] || continue\n"
         "    name=${BASH_REMATCH[1]}\n"
         "    case ${name,,} in\n"
         "    "
      << Joined(ReservedSections(), " | ")
      << ") continue ;;\n"
         "    esac\n"
         "    [[ $name == \"$1\"* ]] && COMPREPLY+=(\"$name\")\n"
         "  done <\"$file\"\n"
         "  return 0\n"
         "}\n"
         "\n"
         "_corvesta_cli() {\n"
         "  local cur=${COMP_WORDS[COMP_CWORD]} command=\"\" word i skip=0 position=0\n"
         "  local valued=\" "
      << Joined(ValuedOptions())
      << " \"\n"
         "  COMPREPLY=()\n"
         "  for ((i = 1; i < COMP_CWORD; i++)); do\n"
         "    word=${COMP_WORDS[i]}\n"
         "    if ((skip)); then\n"
         "      skip=0\n"
         "      [[ $word == = ]] && skip=1\n"
         "      continue\n"
         "    fi\n"
         "    case $word in\n"
         "    --*=*) ;;\n"
         "    --*) [[ $valued == *\" $word \"* ]] && skip=1 ;;\n"
         "    *)\n"
         "      if [[ -z $command ]]; then\n"
         "        command=$word\n"
         "      else\n"
         "        ((position++))\n"
         "      fi\n"
         "      ;;\n"
         "    esac\n"
         "  done\n"
         "  ((skip)) && return 0\n"
         "  if [[ $cur == -* ]]; then\n"
         "    local options\n"
         "    case $command in\n"
         "    \"\") options=\""
      << Joined(OptionWords(GlobalOptions())) << "\" ;;\n";
  for (const CommandSpec &command : Commands()) {
    out << "    " << command.name << ") options=\"" << Joined(OptionWords(command.options))
        << "\" ;;\n";
  }
  out << "    esac\n"
         "    COMPREPLY=($(compgen -W \"$options\" -- \"$cur\"))\n"
         "    return 0\n"
         "  fi\n"
         "  case $command in\n"
         "  \"\") COMPREPLY=($(compgen -W \""
      << Joined(CommandNames()) << "\" -- \"$cur\")) ;;\n";
  for (const CommandSpec &command : Commands()) {
    const std::string cases = BashPositionalCases(command);
    if (cases.empty()) {
      continue;
    }
    out << "  " << command.name << ")\n"
        << "    case $position in\n"
        << cases << "    esac\n"
        << "    ;;\n";
  }
  out << "  esac\n"
         "  return 0\n"
         "}\n"
         "\n"
         "complete -F _corvesta_cli corvesta-cli\n";
  return out.str();
}

std::string ZshCompletionScript() {
  std::ostringstream out;
  out << "#compdef corvesta-cli\n"
         "# zsh completion for corvesta-cli. Written by the build from the program's\n"
         "# command table; box names come from the remembered boxes of the settings file.\n"
         "\n"
         "_corvesta-cli_boxes() {\n"
         "  local file=\""
      << SettingsFileShell()
      << "\" line expl\n"
         "  local -a boxes match mbegin mend\n"
         "  [[ -r $file ]] || return 1\n"
         "  while IFS= read -r line || [[ -n $line ]]; do\n"
         "    line=${line%$'\\r'}\n"
         "    [[ $line =~ '^[[:space:]]*\\[([^]]*)\\][[:space:]]*$' ]] || continue\n"
         "    case ${(L)match[1]} in\n"
         "    ("
      << Joined(ReservedSections(), "|")
      << ") ;;\n"
         "    (*) boxes+=(\"$match[1]\") ;;\n"
         "    esac\n"
         "  done <\"$file\"\n"
         "  _wanted boxes expl 'NAS' compadd -a boxes\n"
         "}\n"
         "\n"
         "_corvesta-cli() {\n"
         "  local curcontext=$curcontext state state_descr line\n"
         "  typeset -A opt_args\n"
         "  local -a commands\n"
         "  commands=(\n";
  for (const CommandSpec &command : Commands()) {
    out << "    " << Quoted(std::string(command.name) + ":" + std::string(command.summary)) << "\n";
  }
  out << "  )\n"
         "  _arguments -C";
  for (const OptionSpec &option : GlobalOptions()) {
    out << " \\\n    "
        << Quoted("(- *)--" + std::string(option.name) + "[" + ZshDescription(option.help) + "]");
  }
  out << " \\\n    '1:command:->command' \\\n"
         "    '*::argument:->argument' && return 0\n"
         "  case $state in\n"
         "  command) _describe -t commands 'corvesta-cli command' commands ;;\n"
         "  argument)\n"
         "    curcontext=${curcontext%:*:*}:corvesta-cli-$words[1]:\n"
         "    case $words[1] in\n";
  for (const CommandSpec &command : Commands()) {
    out << "    " << command.name << ")\n" << ZshCommandArguments(command);
  }
  out << "    esac\n"
         "    ;;\n"
         "  esac\n"
         "}\n"
         "\n"
         "_corvesta-cli \"$@\"\n";
  return out.str();
}

} // namespace corvesta::cli
