#pragma once
// Reads one node of an XML text: a run of text or whitespace, a start or end
// tag, a processing instruction, a comment, a CDATA section, the document
// type declaration, or a faulty stretch of markup. Never reads outside the
// text and always moves on by at least one character until the end.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "nas/xml/xml_unit_search.h"

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

inline bool IsXmlSpace(char16_t ch) {
  return ch == u' ' || ch == u'\t' || ch == u'\n' || ch == u'\r';
}

namespace xml_scanner_detail {

inline bool StartsElementName(char16_t ch) {
  return (ch >= u'A' && ch <= u'Z') || ch == u':' || ch == u'_' || ch >= 0x61;
}

// Every character that means something inside markup lies at or below ">",
// so most characters of names, values and text are told apart by one
// comparison.
inline bool IsPlain(char16_t ch) {
  return ch > u'>';
}

inline bool EndsTagName(char16_t ch) {
  return !IsPlain(ch) && (IsXmlSpace(ch) || ch == u'/' || ch == u'>');
}

inline bool IsQuote(char16_t ch) {
  return ch == u'"' || ch == u'\'';
}

inline void MarkUnterminated(XmlNode &node, std::size_t textLength, XmlUnterminated what) {
  node.kind = XmlNodeKind::Error;
  node.unterminated = node.fault == XmlFault::None ? what : XmlUnterminated::Tag;
  node.fault = XmlFault::UnterminatedTagSyntax;
  node.length = textLength - node.start;
}

// A faulty node runs on to its next ">" (included) or stops before a "<".
inline void RunOnAfterFault(std::u16string_view text, XmlNode &node, XmlFault fault,
                            std::size_t from) {
  node.kind = XmlNodeKind::Error;
  node.fault = fault;
  for (std::size_t i = from; i < text.size(); ++i) {
    if (text[i] == u'>') {
      node.length = i + 1 - node.start;
      return;
    }
    if (text[i] == u'<') {
      node.length = i - node.start;
      return;
    }
  }
  MarkUnterminated(node, text.size(), XmlUnterminated::Tag);
}

// Ends a node at the end of the first `terminator` found from `from`.
inline void RunToTerminator(std::u16string_view text, XmlNode &node, XmlNodeKind kind,
                            std::u16string_view terminator, std::size_t from,
                            XmlUnterminated what) {
  const std::size_t found = xml_unit_search::FindSequence(text, from, terminator);
  if (found == text.size()) {
    MarkUnterminated(node, text.size(), what);
    return;
  }
  node.kind = kind;
  node.length = found + terminator.size() - node.start;
}

// Start and end tags: the name, then attributes up to the first ">" that is
// not inside a quoted value. A quote opens a value only after an "=".
inline void ScanTag(std::u16string_view text, XmlNode &node, bool endTag) {
  const std::size_t end = text.size();
  std::size_t i = node.start + (endTag ? 2 : 1);
  node.nameStart = i;
  // Names hold mostly plain characters: skip them in runs and look closer
  // only at the others.
  for (;;) {
    i = xml_unit_search::FindAtOrBelow(text, i, u'>');
    if (i == end || EndsTagName(text[i])) {
      break;
    }
    ++i;
  }
  node.nameLength = i - node.nameStart;

  bool equalsPending = false;
  char16_t openQuote = 0;
  char16_t previous = text[i - 1];
  for (; i < end; ++i) {
    const char16_t ch = text[i];
    if (openQuote != 0) {
      // Only the same quote closes the value.
      const std::size_t close = xml_unit_search::FindUnit(text, i, openQuote);
      if (close == end) {
        break;
      }
      openQuote = 0;
      previous = text[close];
      i = close;
      continue;
    }
    if (IsPlain(ch)) {
      // A run of plain characters cancels a pending "=" and ends with the
      // unit before the next character that means something in markup.
      const std::size_t stop = xml_unit_search::FindAtOrBelow(text, i + 1, u'>');
      equalsPending = false;
      previous = text[stop - 1];
      i = stop - 1;
      continue;
    }
    if (ch == u'>') {
      node.kind = endTag ? XmlNodeKind::EndTag : XmlNodeKind::StartTag;
      node.length = i + 1 - node.start;
      if (!endTag && node.length >= 3 && text[i - 1] == u'/') {
        const std::size_t slash = i - 1;
        const char16_t before = text[slash - 1];
        node.emptyElement =
            slash == node.nameStart + node.nameLength || IsXmlSpace(before) || IsQuote(before);
      }
      return;
    } else if (ch == u'=') {
      equalsPending = previous != u'=';
    } else if (equalsPending) {
      if (IsQuote(ch)) {
        openQuote = ch;
        equalsPending = false;
      } else if (!IsXmlSpace(ch)) {
        equalsPending = false;
      }
    }
    previous = ch;
  }
  MarkUnterminated(node, end, endTag ? XmlUnterminated::EndTag : XmlUnterminated::StartTag);
}

// The document type declaration runs to the first ">" at its own level;
// "<!" with A, E or N opens a nested declaration with quoting of its own.
inline void ScanDocumentType(std::u16string_view text, XmlNode &node) {
  const std::size_t end = text.size();
  std::size_t i = node.start + 3;
  while (i < end) {
    const char16_t ch = text[i];
    if (ch == u'>') {
      node.kind = XmlNodeKind::DocumentType;
      node.length = i + 1 - node.start;
      return;
    }
    if (ch != u'<' || i + 1 >= end || text[i + 1] != u'!') {
      ++i;
      continue;
    }
    if (i + 2 >= end) {
      break;
    }
    const char16_t kind = text[i + 2];
    if (kind != u'A' && kind != u'E' && kind != u'N') {
      RunOnAfterFault(text, node, XmlFault::DoctypeTagSyntax, i + 2);
      return;
    }
    char16_t openQuote = 0;
    std::size_t j = i + 3;
    for (; j < end; ++j) {
      if (openQuote != 0) {
        if (text[j] == openQuote) {
          openQuote = 0;
        }
      } else if (IsQuote(text[j])) {
        openQuote = text[j];
      } else if (text[j] == u'>') {
        break;
      }
    }
    i = j + 1;
  }
  MarkUnterminated(node, end, XmlUnterminated::DocumentType);
}

inline void ScanExclamation(std::u16string_view text, XmlNode &node) {
  const std::size_t end = text.size();
  const std::size_t pos = node.start;
  if (pos + 2 >= end) {
    RunOnAfterFault(text, node, XmlFault::ExclamationTagSyntax, pos + 2);
    return;
  }
  const char16_t third = text[pos + 2];
  if (third == u'-') {
    if (pos + 3 < end && text[pos + 3] == u'-') {
      RunToTerminator(text, node, XmlNodeKind::Comment, u"-->", pos + 4, XmlUnterminated::Comment);
    } else {
      RunOnAfterFault(text, node, XmlFault::CommentTagSyntax, pos + 3);
    }
  } else if (third == u'[') {
    if (pos + 3 < end && text[pos + 3] == u'C') {
      RunToTerminator(text, node, XmlNodeKind::Cdata, u"]]>", pos + 4,
                      XmlUnterminated::CdataSection);
    } else {
      RunOnAfterFault(text, node, XmlFault::CdataSectionSyntax, pos + 3);
    }
  } else if (third == u'D') {
    ScanDocumentType(text, node);
  } else {
    RunOnAfterFault(text, node, XmlFault::ExclamationTagSyntax, pos + 2);
  }
}

} // namespace xml_scanner_detail

// Defined here, inline, because the element table builder calls it once per
// node and a call would cost as much as the scanning of a short node.
[[gnu::always_inline]] inline XmlNode ScanXmlNode(std::u16string_view text, std::size_t offset) {
  using namespace xml_scanner_detail;
  XmlNode node;
  node.start = offset;
  const std::size_t end = text.size();
  if (offset >= end) {
    node.start = end;
    return node;
  }
  const char16_t first = text[offset];
  if (first != u'<') {
    std::size_t i = offset;
    while (i < end && IsXmlSpace(text[i])) {
      ++i;
    }
    if (i == end || text[i] == u'<') {
      node.kind = XmlNodeKind::Whitespace;
    } else {
      node.kind = XmlNodeKind::Text;
      i = xml_unit_search::FindUnit(text, i + 1, u'<');
    }
    node.length = i - offset;
    return node;
  }
  if (offset + 1 >= end) {
    RunOnAfterFault(text, node, XmlFault::FirstTagSyntax, offset + 1);
    return node;
  }
  const char16_t second = text[offset + 1];
  if (StartsElementName(second)) {
    ScanTag(text, node, false);
  } else if (second == u'/') {
    ScanTag(text, node, true);
  } else if (second == u'?') {
    RunToTerminator(text, node, XmlNodeKind::ProcessingInstruction, u"?>", offset + 2,
                    XmlUnterminated::ProcessingInstruction);
  } else if (second == u'!') {
    ScanExclamation(text, node);
  } else {
    RunOnAfterFault(text, node, XmlFault::FirstTagSyntax, offset + 1);
  }
  return node;
}

} // namespace corvesta
