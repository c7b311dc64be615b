#include "setup/identity_rules.h"

#include <utility>

#include "i18n/format_pattern.h"
#include "i18n/own_texts.h"
#include "i18n/translate.h"
#include "nas/http/request_records.h"
#include "platform/text_codec.h"
#include "setup/box_text_rules.h"

namespace corvesta {

std::optional<std::u16string> CheckNameAndWorkgroup(std::u16string_view name,
                                                    std::u16string_view workgroup) {
  for (char16_t forbidden : kForbiddenNameCharacters) {
    std::u16string_view what;
    if (name.find(forbidden) != std::u16string_view::npos) {
      what = kNameWord;
    } else if (workgroup.find(forbidden) != std::u16string_view::npos) {
      what = kWorkgroupWord;
    }
    if (!what.empty()) {
      return FillPattern(Translate(kForbiddenCharactersText),
                         {Translate(what), kForbiddenNameCharacters});
    }
  }
  return std::nullopt;
}

std::optional<std::u16string> CheckIdentityFits(std::string_view name, std::string_view workgroup,
                                                std::string_view description) {
  // Each field keeps one byte for the terminating zero.
  const DeviceIdentity fields;
  if (name.size() >= sizeof fields.hostname || workgroup.size() >= sizeof fields.workgroup ||
      description.size() >= sizeof fields.description) {
    return Translate(kIdentityTooLongText);
  }
  return std::nullopt;
}

std::optional<std::u16string> CheckDescription(std::u16string_view description) {
  for (char16_t forbidden : kForbiddenDescriptionCharacters) {
    if (description.find(forbidden) != std::u16string_view::npos) {
      return FillPattern(Translate(kForbiddenCharactersText),
                         {Translate(kDescriptionWord), kForbiddenDescriptionCharacters});
    }
  }
  return std::nullopt;
}

std::optional<std::u16string> CheckIdentity(std::string_view name, std::string_view workgroup,
                                            std::string_view description) {
  if (name.empty()) {
    return Translate(kEmptyNameText);
  }
  const std::pair<std::u16string_view, std::string_view> fields[] = {
      {kNameWord, name}, {kWorkgroupWord, workgroup}, {kDescriptionWord, description}};
  for (const auto &[what, text] : fields) {
    if (auto problem = CheckBoxText(what, text)) {
      return problem;
    }
  }
  if (auto problem = CheckNameAndWorkgroup(Utf8ToUtf16(name), Utf8ToUtf16(workgroup))) {
    return problem;
  }
  if (auto problem = CheckDescription(Utf8ToUtf16(description))) {
    return problem;
  }
  return CheckIdentityFits(name, workgroup, description);
}

} // namespace corvesta
