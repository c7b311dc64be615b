#include "app/program_arguments.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <vector>

#include "app/settings_keys.h"
#include "corvesta_version.h"

namespace corvesta {

namespace {

// Qt's own single-dash options, as QGuiApplication, QApplication and the
// xcb platform read them, with whether the next word is their value.
struct QtOption {
  std::string_view name;
  bool takesValue;
};

constexpr std::array kQtOptions{
    QtOption{"-platform", true},      QtOption{"-platformpluginpath", true},
    QtOption{"-platformtheme", true}, QtOption{"-plugin", true},
    QtOption{"-style", true},         QtOption{"-stylesheet", true},
    QtOption{"-session", true},       QtOption{"-qwindowgeometry", true},
    QtOption{"-geometry", true},      QtOption{"-qwindowtitle", true},
    QtOption{"-title", true},         QtOption{"-qwindowicon", true},
    QtOption{"-icon", true},          QtOption{"-display", true},
    QtOption{"-name", true},          QtOption{"-visual", true},
    QtOption{"-reverse", false},      QtOption{"-testability", false},
    QtOption{"-widgetcount", false},  QtOption{"-nograb", false},
    QtOption{"-dograb", false},       QtOption{"-sync", false},
};

// Options Qt reads with their value after "=" in the same word.
constexpr std::array kQtJoinedOptions{std::string_view{"-style="}, std::string_view{"-stylesheet="},
                                      std::string_view{"-qmljsdebugger="}};

std::string SettingsFileText() {
  return "$XDG_CONFIG_HOME/" + std::string(settings::kFolderName) + "/" +
         std::string(settings::kFileName);
}

std::string UsageLine() {
  return "Usage: corvesta [--help | --version] [Qt options such as -platform NAME]\n";
}

std::string HelpText() {
  return UsageLine() +
         "\n"
         "Finds the NAS boxes on this PC's networks and sets them up, in a window.\n"
         "\n"
         "  --help     show this help and end\n"
         "  --version  show the version and end\n"
         "\n"
         "Corvesta takes no other options: the interface language and everything\n"
         "remembered are read from " +
         SettingsFileText() +
         "\n"
         "(default ~/.config). Qt's own single-dash options, such as -platform NAME\n"
         "and -style NAME, are passed to Qt. corvesta-cli does the same work from a\n"
         "terminal; see corvesta(1) and corvesta-cli(1).\n";
}

ProgramArguments Wrong(const std::string &problem) {
  return {ProgramAction::Usage,
          "corvesta: " + problem + "\n" + UsageLine() + "Run \"corvesta --help\" for more.\n"};
}

const QtOption *FindQtOption(std::string_view word) {
  auto it = std::find_if(kQtOptions.begin(), kQtOptions.end(),
                         [&](const QtOption &option) { return option.name == word; });
  return it == kQtOptions.end() ? nullptr : &*it;
}

bool IsJoinedQtOption(std::string_view word) {
  return std::any_of(kQtJoinedOptions.begin(), kQtJoinedOptions.end(),
                     [&](std::string_view prefix) { return word.starts_with(prefix); });
}

} // namespace

ProgramArguments ReadProgramArguments(std::span<const std::string_view> arguments) {
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string_view word = arguments[i];
    if (word == "--help") {
      return {ProgramAction::Help, HelpText()};
    }
    if (word == "--version") {
      return {ProgramAction::Version, "corvesta " + std::string(kVersion) + "\n"};
    }
    if (word.starts_with("--")) {
      return Wrong("unknown option \"" + std::string(word) + "\"");
    }
    if (word.size() < 2 || word[0] != '-') {
      return Wrong("unexpected word \"" + std::string(word) + "\"");
    }
    if (IsJoinedQtOption(word)) {
      continue;
    }
    const QtOption *option = FindQtOption(word);
    if (option == nullptr) {
      return Wrong("unknown option \"" + std::string(word) + "\"");
    }
    if (option->takesValue) {
      if (i + 1 >= arguments.size()) {
        return Wrong("the option \"" + std::string(word) + "\" needs a value");
      }
      ++i;
    }
  }
  return {};
}

ProgramArguments ReadProgramArguments(int argc, const char *const *argv) {
  std::vector<std::string_view> words;
  for (int i = 1; i < argc; ++i) {
    words.emplace_back(argv[i] != nullptr ? argv[i] : "");
  }
  return ReadProgramArguments(words);
}

int AnswerProgramArguments(const ProgramArguments &arguments) {
  const bool wrong = arguments.action == ProgramAction::Usage;
  std::FILE *stream = wrong ? stderr : stdout;
  std::fputs(arguments.text.c_str(), stream);
  std::fflush(stream);
  return wrong ? kUsageStatus : 0;
}

} // namespace corvesta
