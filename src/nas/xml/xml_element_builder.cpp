#include "nas/xml/xml_element_builder.h"

#include "nas/xml/xml_node_scanner.h"
#include "nas/xml/xml_report.h"

namespace corvesta {

namespace {

std::u16string_view FindingName(XmlFault fault) {
  switch (fault) {
  case XmlFault::FirstTagSyntax:
    return kFirstTagSyntax;
  case XmlFault::ExclamationTagSyntax:
    return kExclamationTagSyntax;
  case XmlFault::DoctypeTagSyntax:
    return kDoctypeTagSyntax;
  case XmlFault::CommentTagSyntax:
    return kCommentTagSyntax;
  case XmlFault::CdataSectionSyntax:
    return kCdataSectionSyntax;
  case XmlFault::UnterminatedTagSyntax:
  case XmlFault::None:
    break;
  }
  return kUnterminatedTagSyntax;
}

std::u16string UnterminatedType(XmlUnterminated what) {
  switch (what) {
  case XmlUnterminated::StartTag:
    return u"start_tag";
  case XmlUnterminated::EndTag:
    return u"end_tag";
  case XmlUnterminated::ProcessingInstruction:
    return u"processing_instruction";
  case XmlUnterminated::Comment:
    return u"comment";
  case XmlUnterminated::CdataSection:
    return u"cdata_section";
  case XmlUnterminated::DocumentType:
    return u"document_type";
  case XmlUnterminated::Tag:
    break;
  }
  return u"tag";
}

// Units of text appended to the copy at a time: small enough to be still in
// the first-level cache once scanned.
constexpr std::size_t kCopyStretch = 8192;

} // namespace

ElementIndex XmlElementBuilder::Build(std::u16string_view text, XmlElementTable &table,
                                      std::u16string *report, std::u16string *copy) {
  m_text = text;
  m_table = &table;
  m_report = report;
  m_nextFree = 1;
  m_lastTopLevel = 0;
  m_open.clear();
  m_open.reserve(7);
  m_openByName.clear();
  m_nameIndexBuilt = false;

  ElementRecord &document = table[0];
  document = ElementRecord{};
  if (text.empty()) {
    return m_nextFree;
  }

  std::size_t offset = 0;
  std::size_t copied = 0;
  std::size_t copyAt = copy != nullptr ? kCopyStretch : text.npos;
  for (;;) {
    const XmlNode node = ScanXmlNode(text, offset);
    if (node.kind == XmlNodeKind::EndOfDocument) {
      UnendDownTo(0, text.size());
      break;
    }
    switch (node.kind) {
    case XmlNodeKind::StartTag:
      AddElement(node.start, node.length, node.emptyElement, node.nameStart, node.nameLength);
      break;
    case XmlNodeKind::EndTag:
      EndTag(node.start, node.length, text.substr(node.nameStart, node.nameLength));
      break;
    case XmlNodeKind::Error: {
      table[0].flags |= kDocumentNotWellFormed;
      if (!m_open.empty()) {
        table[m_open.back().index].flags |= kElementFault;
      }
      if (m_report != nullptr && m_report->size() < kXmlReportCap) {
        XmlFinding finding{FindingName(node.fault)};
        if (node.fault == XmlFault::UnterminatedTagSyntax) {
          finding.With(u"type", UnterminatedType(node.unterminated));
        }
        Note(finding.With(u"offset", node.start));
      }
      break;
    }
    default:
      break;
    }
    offset = node.start + node.length;
    if (offset >= copyAt) {
      copy->append(text.substr(copied, offset - copied));
      copied = offset;
      copyAt = offset + kCopyStretch;
    }
  }
  if (copy != nullptr) {
    copy->append(text.substr(copied));
  }

  ElementRecord &done = table[0];
  done.length = static_cast<std::int32_t>(text.size());
  if (done.firstChild != 0) {
    table[done.firstChild].previousSibling = m_lastTopLevel;
  }
  if (m_nextFree == 1) {
    Note(XmlFinding{kNoRootElement});
  } else if (table[done.firstChild].nextSibling != 0) {
    Note(XmlFinding{kRootHasSibling});
  }
  m_openByName.clear();
  return m_nextFree;
}

// Inlined into the pass: it runs once per tag.
[[gnu::always_inline]] inline void XmlElementBuilder::AddElement(std::size_t start,
                                                                 std::size_t startTagLength,
                                                                 bool empty, std::size_t nameStart,
                                                                 std::size_t nameLength) {
  XmlElementTable &table = *m_table;
  if (m_nextFree >= table.Capacity()) {
    table.Grow();
  }
  const ElementIndex index = m_nextFree++;
  const ElementIndex parent = m_open.empty() ? 0 : m_open.back().index;

  ElementRecord &record = table[index];
  record.start = static_cast<std::int32_t>(start);
  record.length = static_cast<std::int32_t>(startTagLength);
  record.tagLengths = PackTagLengths(startTagLength, 0);
  record.flags = DepthBits(m_open.size());
  record.parent = parent;
  record.firstChild = 0;
  record.nextSibling = 0;

  ElementIndex &lastOfParent = m_open.empty() ? m_lastTopLevel : m_open.back().lastChild;
  if (lastOfParent == 0) {
    table[parent].firstChild = index;
    record.flags |= kElementFirstChild;
    record.previousSibling = index;
  } else {
    table[lastOfParent].nextSibling = index;
    record.previousSibling = lastOfParent;
  }
  lastOfParent = index;
  if (!empty) {
    Push(OpenElement{index, static_cast<std::uint32_t>(nameStart),
                     static_cast<std::uint32_t>(nameLength),
                     static_cast<std::uint32_t>(startTagLength), 0});
  }
}

// Inlined into the pass: it runs once per tag.
[[gnu::always_inline]] inline void XmlElementBuilder::CloseElement(std::size_t endTagStart,
                                                                   std::size_t endTagLength) {
  const OpenElement &open = m_open.back();
  ElementRecord &record = (*m_table)[open.index];
  record.length = static_cast<std::int32_t>(endTagStart + endTagLength -
                                            static_cast<std::size_t>(record.start));
  record.tagLengths = PackTagLengths(open.startTagLength, endTagLength);
  if (open.lastChild != 0) {
    (*m_table)[record.firstChild].previousSibling = open.lastChild;
  }
  Pop();
}

// Inlined into the pass: it runs once per tag.
[[gnu::always_inline]] inline void XmlElementBuilder::EndTag(std::size_t start, std::size_t length,
                                                             std::u16string_view name) {
  if (!m_open.empty() && OpenName(m_open.back()) == name) {
    CloseElement(start, length);
    return;
  }
  std::size_t position = 0;
  if (!FindOpen(name, position)) {
    LoneEndTag(start, name);
    return;
  }
  UnendDownTo(position + 1, start + 1);
  CloseElement(start, length);
}

void XmlElementBuilder::LoneEndTag(std::size_t start, std::u16string_view name) {
  XmlElementTable &table = *m_table;
  table[0].flags |= kDocumentNotWellFormed;
  if (!m_open.empty()) {
    table[m_open.back().index].flags |= kElementFault;
  }
  if (m_report != nullptr && m_report->size() < kXmlReportCap) {
    Note(XmlFinding{kLoneEndTag}.With(u"tagname", std::u16string(name)).With(u"offset", start));
  }
}

// Unends the open elements at stack positions `keep` and above, innermost
// first: each becomes as long as its start tag, and its children follow it
// as siblings. The children's parent links are set once at the end, to the
// element that stays open (or the document), which is where every moved
// child ends up.
void XmlElementBuilder::UnendDownTo(std::size_t keep, std::size_t offset2) {
  if (keep >= m_open.size()) {
    return;
  }
  XmlElementTable &table = *m_table;
  const ElementIndex target = keep == 0 ? 0 : m_open[keep - 1].index;
  const ElementIndex outermost = m_open[keep].index;
  table[0].flags |= kDocumentNotWellFormed;
  while (m_open.size() > keep) {
    const OpenElement open = m_open.back();
    const ElementIndex parent = m_open.size() >= 2 ? m_open[m_open.size() - 2].index : 0;
    ElementRecord &record = table[open.index];
    record.length = static_cast<std::int32_t>(open.startTagLength);
    record.tagLengths = PackTagLengths(open.startTagLength, 0);
    record.flags |= kElementUnended;

    if (record.firstChild != 0) {
      // Being still open, the element is the last child of its parent; its
      // own children now follow it there.
      const ElementIndex first = record.firstChild;
      record.nextSibling = first;
      record.firstChild = 0;
      table[first].previousSibling = open.index;
      table[first].flags &= ~kElementFirstChild;
      LastChildOf(m_open.size() - 1) = open.lastChild;
    }
    if ((record.flags & kElementFault) != 0) {
      record.flags &= ~kElementFault;
      table[parent].flags |= kElementFault;
    }
    if (m_report != nullptr && m_report->size() < kXmlReportCap) {
      Note(XmlFinding{kUnendedStartTag}
               .With(u"tagname", std::u16string(OpenName(open)))
               .With(u"offset", static_cast<std::size_t>(record.start))
               .With(u"offset2", offset2));
    }
    Pop();
  }
  for (ElementIndex moved = table[outermost].nextSibling; moved != 0;
       moved = table[moved].nextSibling) {
    table[moved].parent = target;
  }
}

bool XmlElementBuilder::FindOpen(std::u16string_view name, std::size_t &position) {
  if (m_open.empty()) {
    return false;
  }
  if (!m_nameIndexBuilt) {
    for (std::size_t i = 0; i < m_open.size(); ++i) {
      m_openByName[OpenName(m_open[i])].push_back(i);
    }
    m_nameIndexBuilt = true;
  }
  const auto found = m_openByName.find(name);
  if (found == m_openByName.end() || found->second.empty()) {
    return false;
  }
  position = found->second.back();
  return true;
}

// Inlined into the pass: it runs once per tag.
[[gnu::always_inline]] inline void XmlElementBuilder::Push(const OpenElement &open) {
  m_open.push_back(open);
  if (m_nameIndexBuilt) {
    m_openByName[OpenName(open)].push_back(m_open.size() - 1);
  }
}

// Inlined into the pass: it runs once per tag.
[[gnu::always_inline]] inline void XmlElementBuilder::Pop() {
  if (m_nameIndexBuilt) {
    m_openByName[OpenName(m_open.back())].pop_back();
  }
  m_open.pop_back();
}

void XmlElementBuilder::Note(const XmlFinding &finding) {
  if (m_report != nullptr) {
    AppendXmlFinding(*m_report, finding);
  }
}

} // namespace corvesta
