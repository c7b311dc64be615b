#pragma once
// The terminal: whether a person is there to answer, reading a line or a
// secret (without echo), and progress shown while waiting.

#include <cstddef>
#include <istream>
#include <optional>
#include <string>
#include <string_view>

namespace corvesta::cli {

// Standard input and standard error are both terminals: questions can be
// asked and progress drawn.
bool CanAsk();
bool ErrorIsTerminal();
bool InputIsTerminal();

// Puts the terminal's echo back when a secret is being read (echo off);
// nothing otherwise. For the end of the program by a signal.
void RestoreTerminalEcho();

// One line from standard input without its line break; nothing at end of
// input. On a terminal the prompt is written to standard error first.
std::optional<std::string> ReadInputLine(std::string_view prompt);

// The longest password line read; anything longer is refused unread.
inline constexpr std::size_t kSecretLineMaxBytes = 256;

enum class LineEnd {
  Line,     // a line, without its line break
  NoLine,   // end of input before any byte
  TooLong,  // more than the allowed bytes before the line break
  ZeroByte, // a zero byte in the line
};

struct BoundedLine {
  LineEnd end = LineEnd::NoLine;
  std::string text; // only for Line
};

// One line from `input`, reading at most `maxBytes` bytes of it (and its
// line break, "\r\n" or "\n"). A line longer than that or holding a zero byte
// is refused, never cut.
BoundedLine ReadBoundedLine(std::istream &input, std::size_t maxBytes);

// The message for a line that was refused or missing; `source` says where
// it was read from ("--password-stdin", "Password").
std::string BoundedLineProblem(LineEnd end, std::string_view source);

// A line of at most kSecretLineMaxBytes from standard input, with echo
// switched off while a terminal is read.
BoundedLine ReadSecretLine(std::string_view prompt);

// Progress of one piece of long work. On a terminal it redraws one line
// (a spinner, or a bar with the percentage); elsewhere it writes a line only
// when the percentage changes, so logs stay short. Done ends the line.
class Progress {
public:
  explicit Progress(std::string label);
  ~Progress();
  Progress(const Progress &) = delete;
  Progress &operator=(const Progress &) = delete;

  void Tick();               // work goes on, no measure of how far
  void Percent(int percent); // 0 to 100
  void Done();

private:
  std::string m_label;
  bool m_terminal;
  bool m_active = true;
  int m_frame = 0;
  int m_lastPercent = -1;
};

} // namespace corvesta::cli
