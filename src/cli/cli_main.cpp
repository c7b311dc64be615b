#include "cli/cli_main.h"

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "app/language_choice.h"
#include "cli/browser_open.h"
#include "cli/command_table.h"
#include "cli/exit_status.h"
#include "cli/signal_logout.h"
#include "cli/terminal.h"
#include "cli/terminal_message_box.h"
#include "cli/text_output.h"
#include "corvesta_version.h"
#include "nas/worker_drain.h"

namespace corvesta::cli {

namespace {

std::optional<std::vector<OptionSpec>> OptionsOf(std::string_view command) {
  if (command.empty()) {
    return GlobalOptions();
  }
  if (const CommandSpec *entry = FindCommand(command)) {
    return entry->options;
  }
  return std::nullopt;
}

int UsageError(const std::string &problem) {
  Err("corvesta-cli: " + problem);
  Err("Run \"corvesta-cli --help\" for the commands and their options.");
  return ToInt(ExitStatus::Usage);
}

int RunCommand(const CommandSpec &command, const Arguments &arguments) {
  ChooseLanguageFromSettings();
  auto messageBoxes = std::make_shared<TerminalMessageBoxService>(arguments.Has("yes"), CanAsk());
  SetMessageBoxService(messageBoxes);
  SetShellOpenService(std::make_shared<XdgOpenService>());
  int status = 0;
  {
    // Before the first request starts a thread: they all inherit the mask.
    const SignalLogout signals;
    CliWindow window;
    Context context{arguments, window};
    ExitStatus ended = command.run(context);
    if (ended == ExitStatus::Success && context.notRemembered) {
      ended = ExitStatus::NotRemembered;
    }
    status = ToInt(ended);
  }
  // Requests that were given up on may still run on their workers.
  return FinishProcess(status);
}

} // namespace

int Main(int argc, char **argv) {
  std::vector<std::string> words;
  for (int i = 1; i < argc; ++i) {
    words.emplace_back(argv[i]);
  }
  ParsedCommandLine parsed = ParseCommandLine(words, OptionsOf);
  if (!parsed.arguments) {
    return UsageError(parsed.error);
  }
  const Arguments &arguments = *parsed.arguments;
  if (arguments.command.empty()) {
    if (arguments.Has("version")) {
      Out(std::string("corvesta-cli ") + kVersion);
      return ToInt(ExitStatus::Success);
    }
    if (arguments.Has("help")) {
      std::fputs(ProgramHelp().c_str(), stdout);
      return ToInt(ExitStatus::Success);
    }
    std::fputs(ProgramHelp().c_str(), stderr);
    return ToInt(ExitStatus::Usage);
  }
  const CommandSpec *command = FindCommand(arguments.command);
  if (command == nullptr) {
    return UsageError("unknown command \"" + arguments.command + "\"");
  }
  if (arguments.Has("help")) {
    std::fputs(CommandHelp(*command).c_str(), stdout);
    return ToInt(ExitStatus::Success);
  }
  if (arguments.words.size() < command->minWords || arguments.words.size() > command->maxWords) {
    return UsageError("usage: corvesta-cli " + std::string(command->synopsis));
  }
  return RunCommand(*command, arguments);
}

} // namespace corvesta::cli
