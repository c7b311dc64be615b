#pragma once
// CXmlDocument reads the small XML documents the boxes answer with. It is
// forgiving: any text parses into whatever element structure it allows,
// each syntax fault is noted in the parse report, and WellFormed() tells
// whether the document was sound.
//
// Typical use by a reply parser:
//
//   CXmlDocument doc;
//   doc.Parse(std::move(reply));      // UTF-16; status line and headers may precede
//   if (doc.FindChild(u"lan")) {      // lan, a child of the root, is the current child
//     doc.IntoChild();                // lan is the current element
//     doc.FindChild(u"dhcp_enable");  // children in document order:
//     std::u16string dhcp = doc.GetChildText();
//     doc.FindChild(u"ip");           // searches move forward only
//     std::u16string ip = doc.GetChildText();
//     doc.OutToParent();              // back to the root, lan the current child
//   }
//
// Positions: the parent, the current element and the current child. 0 for
// the current element means "before the first element of the level".
// Searches start behind the last element found and never move backwards; a
// failed search leaves every position as it was.
//
// A name argument is a plain element name, matched case-sensitively against
// the tag name; an empty or null name matches any element.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "nas/xml/xml_element_builder.h"
#include "nas/xml/xml_element_table.h"
#include "nas/xml/xml_report.h"

namespace corvesta {

class CXmlDocument {
public:
  // An empty document with room for 8 elements; not well formed.
  CXmlDocument();
  CXmlDocument(CXmlDocument &&) noexcept;
  CXmlDocument &operator=(CXmlDocument &&) noexcept;
  CXmlDocument(const CXmlDocument &) = delete;
  CXmlDocument &operator=(const CXmlDocument &) = delete;
  ~CXmlDocument();

  // Copies the text, empties the report, builds the element table and puts
  // every position at 0. Returns WellFormed(). A null text (a default view
  // or a null pointer) empties the document and releases its memory; the
  // table is otherwise reused and grown by later calls, never shrunk.
  bool Parse(std::u16string_view text);
  bool Parse(const char16_t *text);
  bool Parse(const std::u16string &text) { return Parse(std::u16string_view(text)); }
  bool Parse(std::u16string &&text);

  // Searches the current level, behind the current element (or from the
  // first child of the parent when there is none yet).
  bool FindSibling(std::u16string_view name = {});
  bool FindSibling(const char16_t *name);
  // Searches the children of the current element behind the current child;
  // with no current element it first selects the level's first element (on
  // a fresh document, the root).
  bool FindChild(std::u16string_view name = {});
  bool FindChild(const char16_t *name);
  // Steps down: the current element becomes the parent, the current child
  // the current element (none: the position lies before the first child).
  // False when there is no current element.
  bool IntoChild();
  // Steps up: the parent becomes the current element, the current element
  // its current child. False at the top level.
  bool OutToParent();

  // Decoded text of the current element or of the current child; empty
  // for none, for elements with child elements and for <a/>.
  std::u16string GetText() const;
  std::u16string GetChildText() const;

  // The tag name of the current element or child (up to the first blank,
  // quote or one of ! / ; < = > ? \), empty for none.
  std::u16string_view GetTagName() const;
  std::u16string_view GetChildTagName() const;

  // True when the document has exactly one top-level element and no fault.
  bool WellFormed() const;

  // One empty element per finding of the last Parse (see xml_report.h).
  const std::u16string &ParseReport() const { return m_report; }

  // The document text as parsed.
  std::u16string_view Text() const { return m_text; }

  // Read access to the element table: the positions, the number of
  // records in use (the document's own record 0 included) and one record.
  ElementIndex ParentIndex() const { return m_parent; }
  ElementIndex CurrentIndex() const { return m_current; }
  ElementIndex ChildIndex() const { return m_child; }
  ElementIndex RecordCount() const { return m_nextFree; }
  const ElementRecord *Record(ElementIndex index) const;

  // Texts of 2^31 characters or more do not fit the table's offsets; they
  // parse as an empty document.
  static constexpr std::size_t kMaxTextLength = 0x7FFFFFFF;

private:
  friend void AppendXmlFinding(std::u16string &report, const XmlFinding &finding);

  // A document that writes the parse report: its own parses note nothing.
  static CXmlDocument ForWriting();
  // Appends <name/> at the end of the top level and makes it current.
  void AppendEmptyElement(std::u16string_view name);
  // Adds name="value" (escaped) to the start tag of the current element.
  void SetAttribute(std::u16string_view name, std::u16string_view value);

  // Builds the table of `text`, which is m_text or, when `copy` is m_text,
  // the caller's text that the builder copies into it.
  bool BuildTable(std::u16string_view text, std::u16string *copy);
  ElementIndex FindFrom(ElementIndex first, std::u16string_view name) const;
  std::u16string_view TagName(ElementIndex index) const;

  std::u16string m_text;
  std::u16string m_report;
  ElementIndex m_parent = 0;
  ElementIndex m_current = 0;
  ElementIndex m_child = 0;
  ElementIndex m_nextFree = 1;
  bool m_notesFindings = true;
  XmlElementTable m_table;
  XmlElementBuilder m_builder;
};

} // namespace corvesta
