#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "app/program_arguments.h"
#include "corvesta_version.h"

using namespace corvesta;

namespace {

struct Case {
  const char *label;
  std::vector<std::string_view> words;
  ProgramAction expected;
  const char *textHas; // part of the answer's text, or empty
};

} // namespace

TEST(ProgramArguments, SortsTheCommandLine) {
  const auto run = ProgramAction::Run;
  const auto usage = ProgramAction::Usage;
  const Case cases[] = {
      {"no arguments", {}, run, ""},
      {"help", {"--help"}, ProgramAction::Help, "Usage: corvesta"},
      {"version", {"--version"}, ProgramAction::Version, kVersion},
      {"Qt platform with its value", {"-platform", "offscreen"}, run, ""},
      {"Qt options, flags and joined values",
       {"-style", "Fusion", "-reverse", "-stylesheet=a.qss", "-session", "1a2b"},
       run,
       ""},
      {"help after a Qt option", {"-platform", "xcb", "--help"}, ProgramAction::Help, ""},
      {"unknown double-dash option", {"--verbose"}, usage, "unknown option \"--verbose\""},
      {"Qt's option written with two dashes", {"--platform", "xcb"}, usage, "\"--platform\""},
      {"unknown single-dash option", {"-h"}, usage, "unknown option \"-h\""},
      {"a word", {"nas1"}, usage, "unexpected word \"nas1\""},
      {"a lone dash", {"-"}, usage, "unexpected word \"-\""},
      {"the end of options", {"--"}, usage, "\"--\""},
      {"Qt option without its value", {"-style"}, usage, "\"-style\" needs a value"},
      {"the value of a Qt option is not read as an option", {"-title", "--help-me"}, run, ""},
      {"a wrong word before help", {"nas1", "--help"}, usage, "nas1"},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.label);
    const ProgramArguments read = ReadProgramArguments(c.words);
    EXPECT_EQ(read.action, c.expected);
    EXPECT_NE(read.text.find(c.textHas), std::string::npos) << read.text;
    if (c.expected == ProgramAction::Usage) {
      EXPECT_NE(read.text.find("Usage: corvesta"), std::string::npos) << read.text;
    }
    if (c.expected == ProgramAction::Run) {
      EXPECT_TRUE(read.text.empty());
    }
  }
}

TEST(ProgramArguments, VersionIsTheProgramNameAndTheProjectVersion) {
  const std::vector<std::string_view> words{"--version"};
  EXPECT_EQ(ReadProgramArguments(words).text, std::string("corvesta ") + kVersion + "\n");
}

TEST(ProgramArguments, ReadsMainsArgumentsAfterTheProgramName) {
  const char *argv[] = {"--version", "--bogus", nullptr};
  // argv[0] is the program's name, however it reads.
  EXPECT_EQ(ReadProgramArguments(2, argv).action, ProgramAction::Usage);
  EXPECT_EQ(ReadProgramArguments(1, argv).action, ProgramAction::Run);
}
