// The pieces of corvesta-cli that decide without a box: box lookup, the
// command line and JSON text.

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "cli/arguments.h"
#include "cli/box_selection.h"
#include "cli/cli_window.h"
#include "cli/command_table.h"
#include "cli/json_writer.h"
#include "cli/terminal.h"
#include "cli/visible_text.h"
#include "worker/private_messages.h"

namespace corvesta::cli {
namespace {

NasDevice Device(const char *name, const char *ip, const char *mac) {
  NasDevice device;
  std::strcpy(device.name, name);
  std::strcpy(device.ip, ip);
  std::strcpy(device.mac, mac);
  return device;
}

TEST(BoxLookupTest, NameAddressOrHardwareAddress) {
  const std::vector<NasDevice> devices{Device("ONE", "10.0.0.1", "02:00:00:00:00:01"),
                                       Device("TWIN", "10.0.0.2", "02:00:00:00:00:02"),
                                       Device("TWIN", "10.0.0.3", "02:00:00:00:00:03")};
  EXPECT_EQ(FindBox(devices, "ONE").choice->index, 0);
  EXPECT_EQ(FindBox(devices, "10.0.0.3").choice->index, 2);
  EXPECT_EQ(FindBox(devices, "02-00-00-00-00-02").choice->index, 1);
  EXPECT_EQ(FindBox(devices, "02:00:00:00:00:0A").choice, std::nullopt);

  const BoxLookup twins = FindBox(devices, "TWIN");
  EXPECT_FALSE(twins.choice.has_value());
  EXPECT_EQ(twins.failure, ExitStatus::Usage);
  EXPECT_NE(twins.message.find("10.0.0.2"), std::string::npos);
  EXPECT_NE(twins.message.find("10.0.0.3"), std::string::npos);

  const BoxLookup missing = FindBox(devices, "one");
  EXPECT_FALSE(missing.choice.has_value());
  EXPECT_EQ(missing.failure, ExitStatus::BoxNotFound);
}

// Only a word that can be nothing but an address or hardware address lets
// the search end before every box has had its time to answer.
TEST(BoxLookupTest, WordsThatEndTheSearchEarly) {
  const std::pair<const char *, bool> words[] = {
      {"127.0.0.3", true},           {"02-AA-00-00-00-61", true},
      {"02:aa:00:00:00:61", true},   {"TWIN", false},
      {"127.0.0.300", false},        {"127.0.0", false},
      {"02:aa:00:00:00:6", false},   {"02:aa:00:00:00:6g", false},
      {"02:aa:00:00:00:61:", false}, {"", false},
  };
  for (const auto &[word, early] : words) {
    EXPECT_EQ(IsAddressWord(word), early) << '"' << word << '"';
  }
}

ParsedCommandLine Parse(std::vector<std::string> words) {
  return ParseCommandLine(words,
                          [](std::string_view name) -> std::optional<std::vector<OptionSpec>> {
                            if (name.empty()) {
                              return GlobalOptions();
                            }
                            if (const CommandSpec *command = FindCommand(name)) {
                              return command->options;
                            }
                            return std::nullopt;
                          });
}

TEST(CommandLineTest, OptionsAndWords) {
  ParsedCommandLine parsed =
      Parse({"network", "BOX", "--static", "--ip=10.0.0.5", "--mask", "255.0.0.0", "--", "--x"});
  ASSERT_TRUE(parsed.arguments.has_value()) << parsed.error;
  EXPECT_EQ(parsed.arguments->command, "network");
  EXPECT_EQ(parsed.arguments->words, (std::vector<std::string>{"BOX", "--x"}));
  EXPECT_TRUE(parsed.arguments->Has("static"));
  EXPECT_EQ(parsed.arguments->Value("ip"), "10.0.0.5");
  EXPECT_EQ(parsed.arguments->Value("mask"), "255.0.0.0");
  EXPECT_FALSE(parsed.arguments->Has("gateway"));
}

TEST(CommandLineTest, WrongLinesAreRefused) {
  const std::vector<std::vector<std::string>> wrong{
      {"network", "BOX", "--ip"},                   // value missing
      {"network", "BOX", "--ip", "1", "--ip", "2"}, // twice
      {"discover", "--static"},                     // not this command's
      {"network", "BOX", "--dhcp=yes"},             // a flag with a value
      {"connect", "BOX", "-x"},                     // short options do not exist
  };
  for (const auto &words : wrong) {
    EXPECT_FALSE(Parse(words).arguments.has_value()) << words.back();
  }
}

TEST(JsonWriterTest, TextsAlwaysParse) {
  const std::string nasty = std::string("a\"b\\c\nd\te\x01") + "\xff" + "é";
  const std::string text =
      JsonObject().Text("name", nasty).Number("n", -5).Bool("b", true).Null("z").Str();
  const auto parsed = nlohmann::json::parse(text, nullptr, false);
  ASSERT_FALSE(parsed.is_discarded()) << text;
  EXPECT_EQ(parsed.at("name"), "a\"b\\c\nd\te\x01\xEF\xBF\xBD\xC3\xA9");
  EXPECT_EQ(parsed.at("n"), -5);
  EXPECT_TRUE(parsed.at("z").is_null());
}

} // namespace
} // namespace corvesta::cli

// ---- Waiting for the end of a request.

namespace corvesta::cli {
namespace {

constexpr Ticket kTicket = 42;
constexpr auto kIndex = CommandIndex::SetTimeZone;

struct CommandWaitCase {
  const char *label;
  std::vector<Message> posted; // window filled in by the test
  std::optional<bool> outcome;
};

// What a box's text becomes on a terminal: every control and every byte
// that is not well-formed UTF-8 as an escape, every other character as it is.
TEST(VisibleTextTest, ControlsAndIllFormedBytesBecomeEscapes) {
  const std::pair<std::string, std::string> cases[] = {
      {"Plain NAS-1 \\share", "Plain NAS-1 \\share"},
      {"\x1b[2J\x1b]0;title\x07", "\\u001b[2J\\u001b]0;title\\u0007"},
      {"a\rb\nc\td", "a\\u000db\\u000ac\\u0009d"},
      {std::string("nul\0x", 5), "nul\\u0000x"},
      {"del\x7f", "del\\u007f"},
      {"\xc2\x80\xc2\x9b"
       "2J\xc2\x9f",
       "\\u0080\\u009b2J\\u009f"},
      {"\xc2\xa0\xc3\xa9\xd0\x96\xe2\x82\xac\xf0\x9f\x98\x80",
       "\xc2\xa0\xc3\xa9\xd0\x96\xe2\x82\xac\xf0\x9f\x98\x80"}, // NBSP, é, Ж, €, emoji
      {"\xe2\x80\xae"
       "evil\xe2\x80\xa8\xe2\x81\xa6",
       "\\u202eevil\\u2028\\u2066"},
      {"\xff\xfe", "\\xff\\xfe"},
      {"\xc0\xaf", "\\xc0\\xaf"},                   // overlong "/"
      {"\xed\xa0\x80", "\\xed\\xa0\\x80"},          // a surrogate
      {"\xf4\x90\x80\x80", "\\xf4\\x90\\x80\\x80"}, // beyond U+10FFFF
      {"ab\xe2\x82", "ab\\xe2\\x82"},               // cut short at the end
      {"\xe2\x82"
       "A",
       "\\xe2\\x82A"},                  // cut short by an ASCII letter
      {"\xc2\x1b[H", "\\xc2\\u001b[H"}, // an escape inside a broken sequence
  };
  for (const auto &[text, shown] : cases) {
    EXPECT_EQ(VisibleText(text), shown);
  }
}

// A whole line keeps its own line breaks and tabs; JSON keeps its meaning.
TEST(VisibleTextTest, LinesKeepTheirBreaksAndJsonItsValue) {
  EXPECT_EQ(VisibleLine("one\n\ttwo\x1b[1A\r"), "one\n\ttwo\\u001b[1A\\u000d");
  const std::string name = "N\x7f\xc2\x9b"
                           "2K\xe2\x80\xae";
  const std::string line = VisibleLine(JsonObject().Text("name", name).Str());
  EXPECT_EQ(line.find('\x7f'), std::string::npos);
  const auto parsed = nlohmann::json::parse(line, nullptr, false);
  ASSERT_TRUE(parsed.is_object()) << line;
  EXPECT_EQ(parsed.at("name"), name);
}

TEST(BoundedLineTest, APasswordLineIsTakenWholeOrRefused) {
  using namespace std::string_literals;
  const std::size_t max = kSecretLineMaxBytes;
  struct Case {
    std::string input;
    LineEnd end;
    std::string text;
    std::string rest; // what the next line read finds
  };
  const Case cases[] = {
      {"secret\nnext\n", LineEnd::Line, "secret", "next"},
      {"secret\r\nnext\n", LineEnd::Line, "secret", "next"},
      {"secret", LineEnd::Line, "secret", ""},
      {"\nnext\n", LineEnd::Line, "", "next"},
      {"", LineEnd::NoLine, "", ""},
      {std::string(max, 'a') + "\n", LineEnd::Line, std::string(max, 'a'), ""},
      {std::string(max, 'a') + "\r\n", LineEnd::Line, std::string(max, 'a'), ""},
      {std::string(max, 'a'), LineEnd::Line, std::string(max, 'a'), ""},
      {std::string(max + 1, 'a') + "\n", LineEnd::TooLong, "", ""},
      {std::string(max + 1, 'a'), LineEnd::TooLong, "", ""},
      {std::string(max, 'a') + "\r\r\n", LineEnd::TooLong, "", ""},
      {"ab\0cd\n"s, LineEnd::ZeroByte, "", ""},
      {"\0\n"s, LineEnd::ZeroByte, "", ""},
      {"abcd\0"s, LineEnd::ZeroByte, "", ""},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(testing::Message()
                 << "input of " << c.input.size() << " bytes: " << c.input.substr(0, 16));
    std::istringstream input(c.input);
    const BoundedLine line = ReadBoundedLine(input, max);
    EXPECT_EQ(line.end, c.end);
    EXPECT_EQ(line.text, c.text);
    if (c.end == LineEnd::Line || c.end == LineEnd::ZeroByte) {
      std::string rest;
      std::getline(input, rest);
      EXPECT_EQ(rest, c.rest);
    }
  }
}

TEST(BoundedLineTest, ALineWithoutEndIsReadOnlyUpToTheLimit) {
  // A stream that never ends: the reader stops one byte after the limit
  // (room for a "\r") instead of reading on.
  class Endless : public std::streambuf {
  public:
    std::size_t served = 0;

  protected:
    int_type underflow() override {
      m_byte = 'x';
      ++served;
      setg(&m_byte, &m_byte, &m_byte + 1);
      return traits_type::to_int_type(m_byte);
    }

  private:
    char m_byte = 0;
  };
  Endless source;
  std::istream input(&source);
  const BoundedLine line = ReadBoundedLine(input, kSecretLineMaxBytes);
  EXPECT_EQ(line.end, LineEnd::TooLong);
  EXPECT_LE(source.served, kSecretLineMaxBytes + 2);
}

TEST(BoundedLineTest, EveryRefusalHasItsMessage) {
  for (const LineEnd end : {LineEnd::NoLine, LineEnd::TooLong, LineEnd::ZeroByte}) {
    const std::string text = BoundedLineProblem(end, "--password-stdin");
    EXPECT_EQ(text.rfind("--password-stdin: ", 0), 0U) << text;
    EXPECT_GT(text.size(), std::string("--password-stdin: ").size());
  }
  EXPECT_NE(BoundedLineProblem(LineEnd::TooLong, "x").find(std::to_string(kSecretLineMaxBytes)),
            std::string::npos);
}

TEST(CliWindowWait, ACommandWaitEndsWithItsResultOrItsTicketsUnansweredEnd) {
  const auto result = [](WPARAM wParam) {
    return Message{0, WM_COMMAND_RESULT, wParam, static_cast<LPARAM>(kIndex)};
  };
  const auto unanswered = [](Ticket ticket) {
    return Message{0, WM_REQUEST_UNANSWERED, ticket, static_cast<LPARAM>(QueryKind::SetupCommand)};
  };
  const CommandWaitCase cases[] = {
      {"success", {result(kResultSuccess)}, true},
      {"failure", {result(kResultFailure)}, false},
      {"ended unanswered", {unanswered(kTicket), result(kResultSuccess)}, false},
      {"another request's end is no end", {unanswered(kTicket + 1), result(kResultSuccess)}, true},
      {"another command's result is no result",
       {Message{0, WM_COMMAND_RESULT, kResultSuccess, static_cast<LPARAM>(CommandIndex::LogIn)}},
       std::nullopt},
      {"nothing", {}, std::nullopt},
  };
  for (const CommandWaitCase &c : cases) {
    SCOPED_TRACE(c.label);
    CliWindow window;
    for (const Message &message : c.posted) {
      ASSERT_TRUE(PostMessage(window.Handle(), message.message, message.wParam, message.lParam));
    }
    EXPECT_EQ(window.WaitForCommand(kTicket, kIndex, std::chrono::milliseconds(50)), c.outcome);
  }
}

TEST(CliWindowWait, AQueryWaitStopsAtItsTicketsUnansweredEnd) {
  CliWindow window;
  ASSERT_TRUE(PostMessage(window.Handle(), WM_REQUEST_UNANSWERED, kTicket,
                          static_cast<LPARAM>(QueryKind::CredentialCheck)));
  ASSERT_TRUE(
      PostMessage(window.Handle(), WM_COMMAND_RESULT, kResultSuccess, static_cast<LPARAM>(kIndex)));
  EXPECT_FALSE(window.WaitForQuery(kTicket, std::chrono::seconds(5)));
  // The wait took nothing beyond the end it waited for.
  EXPECT_EQ(window.WaitForCommand(kTicket + 1, kIndex, std::chrono::milliseconds(50)), true);
}

} // namespace
} // namespace corvesta::cli
