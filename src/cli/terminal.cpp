#include "cli/terminal.h"

#include <signal.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <iostream>
#include <string>

#include "cli/text_output.h"
#include "cli/visible_text.h"

namespace corvesta::cli {

bool InputIsTerminal() {
  return ::isatty(STDIN_FILENO) == 1;
}
bool ErrorIsTerminal() {
  return ::isatty(STDERR_FILENO) == 1;
}
bool CanAsk() {
  return InputIsTerminal() && ErrorIsTerminal();
}

std::optional<std::string> ReadInputLine(std::string_view prompt) {
  if (InputIsTerminal() && !prompt.empty()) {
    EndPartialLine();
    std::cerr << VisibleLine(prompt) << std::flush;
  }
  std::string line;
  if (!std::getline(std::cin, line)) {
    return std::nullopt;
  }
  if (!line.empty() && line.back() == '\r') {
    line.pop_back();
  }
  return line;
}

BoundedLine ReadBoundedLine(std::istream &input, std::size_t maxBytes) {
  BoundedLine line;
  std::string text;
  bool any = false;
  bool zero = false;
  std::istream::int_type next = 0;
  while ((next = input.get()) != std::istream::traits_type::eof()) {
    any = true;
    const char byte = std::istream::traits_type::to_char_type(next);
    if (byte == '\n') {
      break;
    }
    // One byte beyond the limit is allowed for a "\r" before the line break.
    if (text.size() > maxBytes) {
      line.end = LineEnd::TooLong;
      return line;
    }
    zero = zero || byte == '\0';
    text.push_back(byte);
  }
  if (!any) {
    return line;
  }
  if (!text.empty() && text.back() == '\r') {
    text.pop_back();
  }
  if (text.size() > maxBytes) {
    line.end = LineEnd::TooLong;
  } else if (zero) {
    line.end = LineEnd::ZeroByte;
  } else {
    line.end = LineEnd::Line;
    line.text = std::move(text);
  }
  return line;
}

std::string BoundedLineProblem(LineEnd end, std::string_view source) {
  const std::string prefix = std::string(source) + ": ";
  switch (end) {
  case LineEnd::Line:
    break;
  case LineEnd::NoLine:
    return prefix + "standard input holds no line with the password.";
  case LineEnd::TooLong:
    return prefix + "the line is longer than " + std::to_string(kSecretLineMaxBytes) +
           " bytes; it is not used.";
  case LineEnd::ZeroByte:
    return prefix + "the line holds a zero byte; it is not used.";
  }
  return {};
}

namespace {
// The terminal's settings while echo is off, for an interrupt to restore.
termios g_echoSaved{};
std::atomic<bool> g_echoIsOff{false};

extern "C" void RestoreEchoAndStop(int signal) {
  ::tcsetattr(STDIN_FILENO, TCSANOW, &g_echoSaved);
  ::signal(signal, SIG_DFL);
  ::raise(signal);
}

// Switches the terminal's echo off for its lifetime; Ctrl-C meanwhile
// leaves the terminal as it was.
class EchoOff {
public:
  EchoOff() {
    if (::tcgetattr(STDIN_FILENO, &m_saved) == 0) {
      g_echoSaved = m_saved;
      m_previousInt = ::signal(SIGINT, RestoreEchoAndStop);
      m_previousTerm = ::signal(SIGTERM, RestoreEchoAndStop);
      termios quiet = m_saved;
      quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
      m_active = ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet) == 0;
      g_echoIsOff = m_active;
    }
  }
  ~EchoOff() {
    if (m_active) {
      g_echoIsOff = false;
      ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &m_saved);
      std::cerr << '\n' << std::flush; // the Enter that was not echoed
    }
    if (m_previousInt != SIG_ERR) {
      ::signal(SIGINT, m_previousInt);
      ::signal(SIGTERM, m_previousTerm);
    }
  }
  EchoOff(const EchoOff &) = delete;
  EchoOff &operator=(const EchoOff &) = delete;

private:
  termios m_saved{};
  bool m_active = false;
  sighandler_t m_previousInt = SIG_ERR;
  sighandler_t m_previousTerm = SIG_ERR;
};
} // namespace

void RestoreTerminalEcho() {
  if (g_echoIsOff.exchange(false)) {
    ::tcsetattr(STDIN_FILENO, TCSANOW, &g_echoSaved);
  }
}

BoundedLine ReadSecretLine(std::string_view prompt) {
  if (!InputIsTerminal()) {
    return ReadBoundedLine(std::cin, kSecretLineMaxBytes);
  }
  EndPartialLine();
  std::cerr << VisibleLine(prompt) << std::flush;
  EchoOff quiet;
  return ReadBoundedLine(std::cin, kSecretLineMaxBytes);
}

Progress::Progress(std::string label) : m_label(std::move(label)), m_terminal(ErrorIsTerminal()) {}

Progress::~Progress() {
  Done();
}

void Progress::Tick() {
  if (!m_active || !m_terminal) {
    return;
  }
  static constexpr char kFrames[] = {'|', '/', '-', '\\'};
  m_frame = (m_frame + 1) % 4;
  ShowPartialLine(m_label + " " + kFrames[m_frame]);
}

void Progress::Percent(int percent) {
  if (!m_active) {
    return;
  }
  percent = std::clamp(percent, 0, 100);
  if (!m_terminal) {
    if (percent != m_lastPercent) {
      Err(m_label + " " + std::to_string(percent) + "%");
    }
    m_lastPercent = percent;
    return;
  }
  m_lastPercent = percent;
  constexpr int kWidth = 30;
  const int filled = percent * kWidth / 100;
  ShowPartialLine(m_label + " [" + std::string(static_cast<std::size_t>(filled), '#') +
                  std::string(static_cast<std::size_t>(kWidth - filled), ' ') + "] " +
                  std::to_string(percent) + "%");
}

void Progress::Done() {
  if (m_active && m_terminal) {
    EndPartialLine();
  }
  m_active = false;
}

} // namespace corvesta::cli
