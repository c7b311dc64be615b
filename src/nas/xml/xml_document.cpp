#include "nas/xml/xml_document.h"

#include <functional>
#include <utility>

#include "nas/xml/xml_element_text.h"

namespace corvesta {

namespace {

constexpr std::uint64_t kInitialRecords = 8;
// One record for every 64 characters of text, plus a few.
constexpr std::size_t kCharactersPerRecord = 64;

// Tag names for searching end at these characters.
bool EndsSearchName(char16_t ch) {
  switch (ch) {
  case u'\t':
  case u'\n':
  case u'\r':
  case u' ':
  case u'"':
  case u'\'':
  case u'!':
  case u'/':
  case u';':
  case u'<':
  case u'=':
  case u'>':
  case u'?':
  case u'\\':
    return true;
  default:
    return false;
  }
}

// After the name, an argument may go on only with one of these (the start
// of a path or a predicate, which nothing here uses).
bool EndsNameArgument(char16_t ch) {
  return ch == u'\0' || ch == u' ' || ch == u'/' || ch == u'=' || ch == u'[' || ch == u']';
}

bool NameMatches(std::u16string_view tagName, std::u16string_view argument) {
  if (argument.empty() || argument[0] == u'\0') {
    return true;
  }
  if (argument[0] == u'/' || argument.size() < tagName.size() ||
      argument.substr(0, tagName.size()) != tagName) {
    return false;
  }
  return argument.size() == tagName.size() || EndsNameArgument(argument[tagName.size()]);
}

// Whether `text` lies in the memory of `owner` (its capacity included).
bool PointsInto(std::u16string_view text, const std::u16string &owner) {
  const std::less<const char16_t *> before;
  const char16_t *begin = owner.data();
  return !before(text.data(), begin) && before(text.data(), begin + owner.capacity());
}

std::u16string_view NameArgument(const char16_t *name) {
  return name == nullptr ? std::u16string_view{} : std::u16string_view(name);
}

} // namespace

CXmlDocument::CXmlDocument() {
  m_table.Reserve(kInitialRecords);
  m_table[0] = ElementRecord{};
}

// A document moved from is left empty, as after Parse of a null text.
CXmlDocument::CXmlDocument(CXmlDocument &&other) noexcept
    : m_text(std::move(other.m_text)), m_report(std::move(other.m_report)),
      m_parent(std::exchange(other.m_parent, 0)), m_current(std::exchange(other.m_current, 0)),
      m_child(std::exchange(other.m_child, 0)), m_nextFree(std::exchange(other.m_nextFree, 1)),
      m_notesFindings(other.m_notesFindings), m_table(std::move(other.m_table)) {}

CXmlDocument &CXmlDocument::operator=(CXmlDocument &&other) noexcept {
  m_text = std::move(other.m_text);
  m_report = std::move(other.m_report);
  m_parent = std::exchange(other.m_parent, 0);
  m_current = std::exchange(other.m_current, 0);
  m_child = std::exchange(other.m_child, 0);
  m_nextFree = std::exchange(other.m_nextFree, 1);
  m_notesFindings = other.m_notesFindings;
  m_table = std::move(other.m_table);
  return *this;
}
CXmlDocument::~CXmlDocument() = default;

CXmlDocument CXmlDocument::ForWriting() {
  CXmlDocument writer;
  writer.m_notesFindings = false;
  return writer;
}

bool CXmlDocument::Parse(std::u16string_view text) {
  if (text.data() == nullptr) {
    m_text.clear();
    m_text.shrink_to_fit();
    m_report.clear();
    m_table.Release();
    m_parent = m_current = m_child = 0;
    m_nextFree = 1;
    return false;
  }
  if (PointsInto(text, m_text) || PointsInto(text, m_report)) {
    // The text is the document's own: taken apart below before it is read.
    return Parse(std::u16string(text));
  }
  if (text.size() > kMaxTextLength) {
    text = text.substr(0, 0);
  }
  // The builder copies the text behind its scan.
  m_text.clear();
  m_text.reserve(text.size());
  return BuildTable(text, &m_text);
}

bool CXmlDocument::Parse(const char16_t *text) {
  return Parse(text == nullptr ? std::u16string_view{} : std::u16string_view(text));
}

bool CXmlDocument::Parse(std::u16string &&text) {
  m_text = std::move(text);
  if (m_text.size() > kMaxTextLength) {
    m_text.clear();
  }
  return BuildTable(m_text, nullptr);
}

bool CXmlDocument::BuildTable(std::u16string_view text, std::u16string *copy) {
  m_report.clear();
  m_parent = m_current = m_child = 0;
  m_nextFree = 1;
  m_table.Reserve(text.size() / kCharactersPerRecord + kInitialRecords);
  m_nextFree = m_builder.Build(text, m_table, m_notesFindings ? &m_report : nullptr, copy);
  return WellFormed();
}

const ElementRecord *CXmlDocument::Record(ElementIndex index) const {
  if (m_table.Capacity() == 0 || index >= m_nextFree) {
    return nullptr;
  }
  return &m_table[index];
}

bool CXmlDocument::WellFormed() const {
  if (m_table.Capacity() == 0) {
    return false;
  }
  const ElementRecord &document = m_table[0];
  return (document.flags & kDocumentNotWellFormed) == 0 && document.firstChild != 0 &&
         m_table[document.firstChild].nextSibling == 0;
}

std::u16string_view CXmlDocument::TagName(ElementIndex index) const {
  if (index == 0 || index >= m_nextFree) {
    return {};
  }
  const std::u16string_view text = m_text;
  const std::size_t nameStart = static_cast<std::size_t>(m_table[index].start) + 1;
  std::size_t nameEnd = nameStart;
  while (nameEnd < text.size() && !EndsSearchName(text[nameEnd])) {
    ++nameEnd;
  }
  return text.substr(nameStart, nameEnd - nameStart);
}

ElementIndex CXmlDocument::FindFrom(ElementIndex first, std::u16string_view name) const {
  for (ElementIndex at = first; at != 0; at = m_table[at].nextSibling) {
    if (NameMatches(TagName(at), name)) {
      return at;
    }
  }
  return 0;
}

bool CXmlDocument::FindSibling(std::u16string_view name) {
  if (m_table.Capacity() == 0) {
    return false;
  }
  const ElementIndex first =
      m_current != 0 ? m_table[m_current].nextSibling : m_table[m_parent].firstChild;
  const ElementIndex found = FindFrom(first, name);
  if (found == 0) {
    return false;
  }
  m_current = found;
  m_parent = m_table[found].parent;
  m_child = 0;
  return true;
}

bool CXmlDocument::FindSibling(const char16_t *name) {
  return FindSibling(NameArgument(name));
}

bool CXmlDocument::FindChild(std::u16string_view name) {
  if (m_current == 0 && !FindSibling()) {
    return false;
  }
  const ElementIndex first =
      m_child != 0 ? m_table[m_child].nextSibling : m_table[m_current].firstChild;
  const ElementIndex found = FindFrom(first, name);
  if (found == 0) {
    return false;
  }
  m_child = found;
  m_current = m_table[found].parent;
  m_parent = m_table[m_current].parent;
  return true;
}

bool CXmlDocument::FindChild(const char16_t *name) {
  return FindChild(NameArgument(name));
}

bool CXmlDocument::IntoChild() {
  if (m_current == 0) {
    return false;
  }
  m_parent = m_current;
  m_current = m_child;
  m_child = 0;
  return true;
}

bool CXmlDocument::OutToParent() {
  if (m_parent == 0) {
    return false;
  }
  m_child = m_current;
  m_current = m_parent;
  m_parent = m_table[m_parent].parent;
  return true;
}

std::u16string CXmlDocument::GetText() const {
  return ElementText(m_text, m_table, m_current);
}

std::u16string CXmlDocument::GetChildText() const {
  return ElementText(m_text, m_table, m_child);
}

std::u16string_view CXmlDocument::GetTagName() const {
  return TagName(m_current);
}

std::u16string_view CXmlDocument::GetChildTagName() const {
  return TagName(m_child);
}

void CXmlDocument::AppendEmptyElement(std::u16string_view name) {
  if (m_nextFree >= m_table.Capacity()) {
    m_table.Grow();
  }
  const ElementIndex index = m_nextFree++;
  ElementRecord &record = m_table[index];
  const std::size_t start = m_text.size();
  m_text += u'<';
  m_text += name;
  m_text += u"/>";
  const std::size_t tagLength = m_text.size() - start;
  record = ElementRecord{};
  record.start = static_cast<std::int32_t>(start);
  record.length = static_cast<std::int32_t>(tagLength);
  record.tagLengths = PackTagLengths(tagLength, 0);

  ElementRecord &document = m_table[0];
  if (document.firstChild == 0) {
    document.firstChild = index;
    record.flags |= kElementFirstChild;
    record.previousSibling = index;
  } else {
    ElementRecord &first = m_table[document.firstChild];
    m_table[first.previousSibling].nextSibling = index;
    record.previousSibling = first.previousSibling;
    first.previousSibling = index;
  }
  document.length = static_cast<std::int32_t>(m_text.size());
  m_parent = 0;
  m_current = index;
  m_child = 0;
}

void CXmlDocument::SetAttribute(std::u16string_view name, std::u16string_view value) {
  if (m_current == 0) {
    return;
  }
  ElementRecord &record = m_table[m_current];
  const std::size_t start = static_cast<std::size_t>(record.start);
  const std::size_t startTag = StartTagLength(m_text, record);
  const bool emptyTag = startTag >= 2 && m_text[start + startTag - 2] == u'/';
  const std::size_t insertAt = start + startTag - (emptyTag ? 2 : 1);

  std::u16string attribute;
  attribute += u' ';
  attribute += name;
  attribute += u"=\"";
  attribute += EscapeXmlAttribute(value);
  attribute += u'"';
  m_text.insert(insertAt, attribute);

  const std::size_t added = attribute.size();
  for (ElementIndex i = 1; i < m_nextFree; ++i) {
    ElementRecord &other = m_table[i];
    if (static_cast<std::size_t>(other.start) >= insertAt) {
      other.start += static_cast<std::int32_t>(added);
    }
  }
  for (ElementIndex at = m_current; at != 0; at = m_table[at].parent) {
    m_table[at].length += static_cast<std::int32_t>(added);
  }
  m_table[0].length += static_cast<std::int32_t>(added);
  record.tagLengths = PackTagLengths(startTag + added, StoredEndTagLength(record.tagLengths));
}

} // namespace corvesta
