#pragma once
// The parse report of an XML document: one empty element per finding, such
// as <lone_end_tag tagname="b" offset="3"/>, with nothing between entries.
// Offsets count characters of the document text. Once the report holds
// kXmlReportCap characters or more, further findings are dropped.

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace corvesta {

inline constexpr std::size_t kXmlReportCap = 1000;

inline constexpr std::u16string_view kFirstTagSyntax = u"first_tag_syntax";
inline constexpr std::u16string_view kExclamationTagSyntax = u"exclamation_tag_syntax";
inline constexpr std::u16string_view kDoctypeTagSyntax = u"doctype_tag_syntax";
inline constexpr std::u16string_view kCommentTagSyntax = u"comment_tag_syntax";
inline constexpr std::u16string_view kCdataSectionSyntax = u"cdata_section_syntax";
inline constexpr std::u16string_view kUnterminatedTagSyntax = u"unterminated_tag_syntax";
inline constexpr std::u16string_view kLoneEndTag = u"lone_end_tag";
inline constexpr std::u16string_view kUnendedStartTag = u"unended_start_tag";
inline constexpr std::u16string_view kNoRootElement = u"no_root_element";
inline constexpr std::u16string_view kRootHasSibling = u"root_has_sibling";

struct XmlFinding {
  struct Attribute {
    std::u16string_view name;
    std::u16string value;
  };
  std::u16string_view name;
  std::array<Attribute, 3> attributes{};
  std::size_t attributeCount = 0;

  XmlFinding &With(std::u16string_view attribute, std::u16string value);
  XmlFinding &With(std::u16string_view attribute, std::size_t offset);
};

// Appends the finding to the report unless the report is full.
void AppendXmlFinding(std::u16string &report, const XmlFinding &finding);

// An attribute value with &, <, >, " and ' written as references.
std::u16string EscapeXmlAttribute(std::u16string_view value);

} // namespace corvesta
