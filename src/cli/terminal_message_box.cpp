#include "cli/terminal_message_box.h"

#include <cctype>

#include "cli/terminal.h"
#include "cli/text_output.h"
#include "platform/text_codec.h"

namespace corvesta::cli {

TerminalMessageBoxService::TerminalMessageBoxService(bool assumeYes, bool canAsk)
    : m_assumeYes(assumeYes), m_canAsk(canAsk) {}

MessageBoxResult TerminalMessageBoxService::Show(const MessageBoxRequest &request) {
  if (request.buttons != MessageBoxButtons::Ok) {
    return Ask(request);
  }
  Err(Utf16ToUtf8(request.text));
  return MessageBoxResult::Ok;
}

namespace {
MessageBoxResult Confirmed(MessageBoxButtons buttons) {
  return buttons == MessageBoxButtons::YesNo ? MessageBoxResult::Yes : MessageBoxResult::Ok;
}

bool IsYes(std::string answer) {
  for (char &c : answer) {
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  }
  return answer == "y" || answer == "yes";
}
} // namespace

MessageBoxResult TerminalMessageBoxService::Ask(const MessageBoxRequest &request) {
  std::lock_guard guard(m_askLock);
  const std::string question = Utf16ToUtf8(request.text);
  if (m_assumeYes) {
    Err(question);
    Err("  -> yes (--yes)");
    return Confirmed(request.buttons);
  }
  if (m_canAsk) {
    Err(question);
    const auto answer = ReadInputLine("[y/N] ");
    if (answer && IsYes(*answer)) {
      return Confirmed(request.buttons);
    }
    return DismissAnswer(request.buttons);
  }
  Err(question);
  Err("  -> not confirmed: nobody to ask here; run again with --yes to confirm.");
  return DismissAnswer(request.buttons);
}

} // namespace corvesta::cli
