#include "nas/xml/xml_element_text.h"

#include "nas/xml/xml_node_scanner.h"
#include "nas/xml/xml_references.h"

namespace corvesta {

namespace {

constexpr std::size_t kCdataOpenLength = 9;  // <![CDATA[
constexpr std::size_t kCdataCloseLength = 3; // ]]>

// Where the end tag of an element begins. An end tag too long for its
// field is found again by reading the content node by node: it is the node
// that ends where the element ends.
std::size_t EndTagStart(std::u16string_view text, const ElementRecord &record,
                        std::size_t contentStart) {
  const std::size_t elementEnd =
      static_cast<std::size_t>(record.start) + static_cast<std::size_t>(record.length);
  const std::uint32_t stored = StoredEndTagLength(record.tagLengths);
  if (stored < kEndTagLengthLimit) {
    return elementEnd - stored;
  }
  const std::u16string_view element = text.substr(0, elementEnd);
  for (std::size_t at = contentStart; at < elementEnd;) {
    const XmlNode node = ScanXmlNode(element, at);
    if (node.start + node.length == elementEnd) {
      return node.start;
    }
    at = node.start + node.length;
  }
  return contentStart;
}

} // namespace

std::size_t StartTagLength(std::u16string_view text, const ElementRecord &record) {
  const std::uint32_t stored = StoredStartTagLength(record.tagLengths);
  if (stored < kStartTagLengthLimit) {
    return stored;
  }
  return ScanXmlNode(text, static_cast<std::size_t>(record.start)).length;
}

std::u16string ElementText(std::u16string_view text, const XmlElementTable &table,
                           ElementIndex index) {
  std::u16string result;
  if (index == 0) {
    return result;
  }
  const ElementRecord &record = table[index];
  if (StoredEndTagLength(record.tagLengths) == 0 || (record.flags & kElementUnended) != 0 ||
      record.firstChild != 0) {
    return result;
  }
  const std::size_t contentStart =
      static_cast<std::size_t>(record.start) + StartTagLength(text, record);
  const std::size_t contentEnd = EndTagStart(text, record, contentStart);
  if (contentEnd <= contentStart || contentEnd > text.size()) {
    return result;
  }
  const std::u16string_view content = text.substr(contentStart, contentEnd - contentStart);
  if (content.find(u'<') == content.npos) {
    AppendDecodedText(content, result);
    return result;
  }
  const std::u16string_view upToEnd = text.substr(0, contentEnd);
  for (std::size_t at = contentStart; at < contentEnd;) {
    const XmlNode node = ScanXmlNode(upToEnd, at);
    if (node.kind == XmlNodeKind::Text) {
      AppendDecodedText(upToEnd.substr(node.start, node.length), result);
    } else if (node.kind == XmlNodeKind::Cdata &&
               node.length >= kCdataOpenLength + kCdataCloseLength) {
      result.append(upToEnd.substr(node.start + kCdataOpenLength,
                                   node.length - kCdataOpenLength - kCdataCloseLength));
    }
    at = node.start + node.length;
  }
  return result;
}

} // namespace corvesta
