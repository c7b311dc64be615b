#pragma once
// The text of one element: what stands between its start and end tag, with
// character references decoded, CDATA sections taken as they are, and
// comments, processing instructions and whitespace-only runs between
// markup left out. Empty for an element without an end tag, an element
// with child elements, and index 0. Nothing is trimmed.

#include <cstddef>
#include <string>
#include <string_view>

#include "nas/xml/xml_element_table.h"

namespace corvesta {

std::u16string ElementText(std::u16string_view text, const XmlElementTable &table,
                           ElementIndex index);

// The length of the start tag of an element, measured again from the text
// when it is too long for its field.
std::size_t StartTagLength(std::u16string_view text, const ElementRecord &record);

} // namespace corvesta
