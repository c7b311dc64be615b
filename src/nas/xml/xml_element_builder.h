#pragma once
// Builds the element table of an XML text in one pass over its nodes.
// Start tags without a matching end tag are closed as empty elements
// (their children move up behind them), end tags that close nothing are
// ignored, and each fault is written to the report. Works without
// recursion at any nesting depth and in time linear in the text.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "nas/xml/xml_element_table.h"

namespace corvesta {

struct XmlFinding;

class XmlElementBuilder {
public:
  // Fills `table` from record 0 on; the table must have room for at least
  // one record. Findings go to `report` unless it is null. Returns the next
  // free index (1 when no element was found).
  //
  // Unless `copy` is null, the text is also appended to it, a stretch at a
  // time behind the scan while that stretch is still in the cache: a large
  // text is then read from memory once for both, and the copying overlaps
  // the building. `copy` must not share memory with `text`.
  ElementIndex Build(std::u16string_view text, XmlElementTable &table, std::u16string *report,
                     std::u16string *copy = nullptr);

private:
  // Offsets fit 32 bits: the document text is shorter than 2^31.
  // The last child of an open element is kept here while it is open; the
  // first child's backward link is set to it when the element ends.
  struct OpenElement {
    ElementIndex index;
    std::uint32_t nameStart;
    std::uint32_t nameLength;
    std::uint32_t startTagLength;
    ElementIndex lastChild;
  };

  std::u16string_view OpenName(const OpenElement &open) const {
    return m_text.substr(open.nameStart, open.nameLength);
  }
  void AddElement(std::size_t start, std::size_t startTagLength, bool empty, std::size_t nameStart,
                  std::size_t nameLength);
  ElementIndex &LastChildOf(std::size_t stackPosition) {
    return stackPosition == 0 ? m_lastTopLevel : m_open[stackPosition - 1].lastChild;
  }
  void CloseElement(std::size_t endTagStart, std::size_t endTagLength);
  void EndTag(std::size_t start, std::size_t length, std::u16string_view name);
  void LoneEndTag(std::size_t start, std::u16string_view name);
  void UnendDownTo(std::size_t keep, std::size_t offset2);
  bool FindOpen(std::u16string_view name, std::size_t &position);
  void Push(const OpenElement &open);
  void Pop();
  void Note(const XmlFinding &finding);

  std::u16string_view m_text;
  XmlElementTable *m_table = nullptr;
  std::u16string *m_report = nullptr;
  ElementIndex m_nextFree = 1;
  ElementIndex m_lastTopLevel = 0;
  std::vector<OpenElement> m_open;
  // Stack positions of the open elements by name, built on the first end
  // tag that does not close the innermost element, so that a run of
  // mismatched end tags costs no more than its length.
  std::unordered_map<std::u16string_view, std::vector<std::size_t>> m_openByName;
  bool m_nameIndexBuilt = false;
};

} // namespace corvesta
