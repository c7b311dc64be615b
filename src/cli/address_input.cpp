#include "cli/address_input.h"

#include "cli/text_output.h"
#include "i18n/format_pattern.h"
#include "i18n/translate.h"
#include "platform/message_box.h"
#include "platform/text_codec.h"
#include "setup/address_change_plan.h"

namespace corvesta::cli {

std::optional<std::string> ReadAddressText(std::string_view text, AddressKind kind) {
  const auto groups = SplitPastedAddress(Utf8ToUtf16(text));
  if (!groups) {
    Err("\"" + std::string(text) + "\" is not an IPv4 address (four numbers joined by dots).");
    return std::nullopt;
  }
  AddressFieldTexts fields;
  for (std::size_t i = 0; i < groups->size() && i < fields.size(); ++i) {
    fields[i] = (*groups)[i];
  }
  const AddressReading reading = ReadAddress(kind, fields);
  if (reading.count != kAddressFieldCount) {
    const std::u16string message =
        FormatPattern(Translate(reading.problem.pattern), reading.problem.numbers);
    ShowMessageBox(0, message, Translate(kAddressErrorCaption), MessageBoxButtons::Ok,
                   MessageBoxIcon::Warning);
    return std::nullopt;
  }
  return std::to_string(reading.bytes[0]) + "." + std::to_string(reading.bytes[1]) + "." +
         std::to_string(reading.bytes[2]) + "." + std::to_string(reading.bytes[3]);
}

bool ConfirmGateway(std::string_view ip, std::string_view mask, std::string_view gateway) {
  if (GatewayInSubnet(ip, mask, gateway)) {
    return true;
  }
  const MessageBoxResult answer =
      ShowMessageBox(0, Translate(kGatewayQuestion), Translate(kWarningCaption),
                     MessageBoxButtons::YesNo, MessageBoxIcon::Warning);
  return answer == MessageBoxResult::Yes;
}

} // namespace corvesta::cli
