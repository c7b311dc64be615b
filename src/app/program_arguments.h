#pragma once
// The command line of the windowed program, read before Qt starts so that
// --help and --version work without a display. The program takes no options
// of its own: --help and --version answer and end, Qt's single-dash options
// (-platform, -style ...) are left for Qt, anything else is wrong usage.

#include <span>
#include <string>
#include <string_view>

namespace corvesta {

enum class ProgramAction {
  Run,     // start the windows; the arguments go on to Qt
  Help,    // print `text` on standard output, status 0
  Version, // print `text` on standard output, status 0
  Usage,   // print `text` on standard error, status 2
};

struct ProgramArguments {
  ProgramAction action = ProgramAction::Run;
  std::string text;
};

inline constexpr int kUsageStatus = 2;

// `arguments` are the words after the program's name.
ProgramArguments ReadProgramArguments(std::span<const std::string_view> arguments);

// The same over main's argc and argv.
ProgramArguments ReadProgramArguments(int argc, const char *const *argv);

// Prints the answer of --help, --version or wrong usage on its stream and
// returns the program's exit status.
int AnswerProgramArguments(const ProgramArguments &arguments);

} // namespace corvesta
