#include "nas/xml_node_scanner.h"

namespace corvesta {

namespace {

bool StartsElementName(char16_t ch) {
  return (ch >= u'A' && ch <= u'Z') || ch == u':' || ch == u'_' || ch >= 0x61;
}

bool EndsTagName(char16_t ch) {
  return IsXmlSpace(ch) || ch == u'/' || ch == u'>';
}

bool IsQuote(char16_t ch) {
  return ch == u'"' || ch == u'\'';
}

void MarkUnterminated(XmlNode &node, std::size_t textLength, XmlUnterminated what) {
  node.kind = XmlNodeKind::Error;
  node.unterminated = node.fault == XmlFault::None ? what : XmlUnterminated::Tag;
  node.fault = XmlFault::UnterminatedTagSyntax;
  node.length = textLength - node.start;
}

// A faulty node runs on to its next ">" (included) or stops before a "<".
void RunOnAfterFault(std::u16string_view text, XmlNode &node, XmlFault fault, std::size_t from) {
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
void RunToTerminator(std::u16string_view text, XmlNode &node, XmlNodeKind kind,
                     std::u16string_view terminator, std::size_t from, XmlUnterminated what) {
  const std::size_t found = from <= text.size() ? text.find(terminator, from) : text.npos;
  if (found == text.npos) {
    MarkUnterminated(node, text.size(), what);
    return;
  }
  node.kind = kind;
  node.length = found + terminator.size() - node.start;
}

// Start and end tags: the name, then attributes up to the first ">" that is
// not inside a quoted value. A quote opens a value only after an "=".
void ScanTag(std::u16string_view text, XmlNode &node, bool endTag) {
  const std::size_t end = text.size();
  std::size_t i = node.start + (endTag ? 2 : 1);
  node.nameStart = i;
  while (i < end && !EndsTagName(text[i])) {
    ++i;
  }
  node.nameLength = i - node.nameStart;

  bool equalsPending = false;
  char16_t openQuote = 0;
  char16_t previous = text[i - 1];
  for (; i < end; ++i) {
    const char16_t ch = text[i];
    if (openQuote != 0) {
      if (ch == openQuote) {
        openQuote = 0;
      }
    } else if (ch == u'>') {
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
void ScanDocumentType(std::u16string_view text, XmlNode &node) {
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

void ScanExclamation(std::u16string_view text, XmlNode &node) {
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

} // namespace

XmlNode ScanXmlNode(std::u16string_view text, std::size_t offset) {
  XmlNode node;
  node.start = offset;
  const std::size_t end = text.size();
  if (offset >= end) {
    node.start = end;
    return node;
  }
  const char16_t first = text[offset];
  if (first != u'<') {
    bool whitespace = IsXmlSpace(first);
    std::size_t i = offset + 1;
    for (; i < end; ++i) {
      const char16_t ch = text[i];
      if (ch == u'<') {
        break;
      }
      if (whitespace && !IsXmlSpace(ch)) {
        whitespace = false;
      }
    }
    node.kind = whitespace ? XmlNodeKind::Whitespace : XmlNodeKind::Text;
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
