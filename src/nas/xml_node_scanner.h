#pragma once
// Reads one node of an XML text: a run of text or whitespace, a start or end
// tag, a processing instruction, a comment, a CDATA section, the document
// type declaration, or a faulty stretch of markup. Never reads outside the
// text and always moves on by at least one character until the end.

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace corvesta {

enum class XmlNodeKind : std::uint8_t {
  EndOfDocument,
  Whitespace,
  Text,
  StartTag,
  EndTag,
  ProcessingInstruction,
  Comment,
  Cdata,
  DocumentType,
  Error,
};

// The syntax fault of an error node.
enum class XmlFault : std::uint8_t {
  None,
  FirstTagSyntax,
  ExclamationTagSyntax,
  DoctypeTagSyntax,
  CommentTagSyntax,
  CdataSectionSyntax,
  UnterminatedTagSyntax,
};

// What the text ended inside of, for XmlFault::UnterminatedTagSyntax.
enum class XmlUnterminated : std::uint8_t {
  StartTag,
  EndTag,
  ProcessingInstruction,
  Comment,
  CdataSection,
  DocumentType,
  Tag, // a node that was already faulty
};

struct XmlNode {
  XmlNodeKind kind = XmlNodeKind::EndOfDocument;
  std::size_t start = 0;
  std::size_t length = 0;
  // Start and end tags: the tag name, up to TAB, LF, CR, space, "/" or ">".
  std::size_t nameStart = 0;
  std::size_t nameLength = 0;
  bool emptyElement = false; // start tag written as <a/>
  XmlFault fault = XmlFault::None;
  XmlUnterminated unterminated = XmlUnterminated::Tag;
};

XmlNode ScanXmlNode(std::u16string_view text, std::size_t offset);

inline bool IsXmlSpace(char16_t ch) {
  return ch == u' ' || ch == u'\t' || ch == u'\n' || ch == u'\r';
}

} // namespace corvesta
