#pragma once
// The rules for a box's device name, workgroup and description, checked
// before anything is sent: forbidden characters in the name and the
// workgroup, and texts that must fit the fields of the request.

#include <optional>
#include <string>
#include <string_view>

namespace corvesta {

// The characters a device name or workgroup must not hold, in the order
// they are looked for.
inline constexpr std::u16string_view kForbiddenNameCharacters = u"*+=|/\\:';<>?,\"$%&[]{}#@!~()^.";
inline constexpr std::u16string_view kForbiddenCharactersText =
    u"The %s must not include the following characters:%s.";
inline constexpr std::u16string_view kNameWord = u"Name";
inline constexpr std::u16string_view kWorkgroupWord = u"Workgroup";
inline constexpr std::u16string_view kDescriptionWord = u"Description";
// The characters a description must not hold: the request carries it
// unencoded, where they would end its field and start another one.
inline constexpr std::u16string_view kForbiddenDescriptionCharacters = u"&=";

// The translated message for the first forbidden character found, looking
// for each character in list order first in the name, then in the
// workgroup; nothing when both are clean. The description may hold any
// character.
std::optional<std::u16string> CheckNameAndWorkgroup(std::u16string_view name,
                                                    std::u16string_view workgroup);

// The translated message, in the style of the name's, when the description
// holds a character of kForbiddenDescriptionCharacters; nothing otherwise.
std::optional<std::u16string> CheckDescription(std::u16string_view description);

// Every rule for the values of a device identity request, on the UTF-8 texts
// as they are to be sent, in this order: an empty name, the text rule of
// each field (box_text_rules.h), the forbidden characters of the name and the
// workgroup, those of the description, and the field widths. The translated
// message of the first fault, or nothing.
std::optional<std::u16string> CheckIdentity(std::string_view name, std::string_view workgroup,
                                            std::string_view description);

// The translated message when the UTF-8 name, workgroup or description is
// longer than its field of the request holds (15, 15 and 30 bytes);
// nothing when all three fit.
std::optional<std::u16string> CheckIdentityFits(std::string_view name, std::string_view workgroup,
                                                std::string_view description);

} // namespace corvesta
