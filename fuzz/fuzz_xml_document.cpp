// Any input parses, and what it parses into holds together: the navigation
// operations reach every element exactly once, links agree with the
// positions, texts come back, and the parse report reads back as entries.
// The input is read both as a box reply is (8-bit text converted to UTF-16)
// and as raw UTF-16 code units, stray surrogates included.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "nas/xml/xml_document.h"
#include "platform/text_codec.h"

using corvesta::CXmlDocument;
using corvesta::ElementIndex;
using corvesta::ElementRecord;

namespace {

void Check(bool condition) {
  if (!condition) {
    std::abort();
  }
}

// Depth-first over every element with FindSibling, IntoChild, OutToParent.
void WalkEverything(CXmlDocument &doc) {
  const ElementIndex records = doc.RecordCount();
  std::uint64_t visited = 0;
  std::uint64_t steps = 0;
  for (;;) {
    Check(++steps <= 3 * std::uint64_t{records} + 3);
    if (doc.FindSibling()) {
      ++visited;
      const ElementRecord *record = doc.Record(doc.CurrentIndex());
      Check(record != nullptr);
      Check(record->parent == doc.ParentIndex());
      Check(record->start >= 0 && record->length > 0);
      Check(static_cast<std::size_t>(record->start) + static_cast<std::size_t>(record->length) <=
            doc.Text().size());
      Check(doc.Text()[static_cast<std::size_t>(record->start)] == u'<');
      Check(!doc.GetTagName().empty());
      Check(doc.GetText().size() <= static_cast<std::size_t>(record->length));
      Check(doc.IntoChild());
    } else if (!doc.OutToParent()) {
      break;
    }
  }
  Check(visited + 1 == records);
}

// The reply parsers' way: children by name, into them and back out.
void ReadLikeAReplyParser(CXmlDocument &doc) {
  if (!doc.FindChild()) {
    return;
  }
  const std::u16string firstName(doc.GetChildTagName());
  (void)doc.GetChildText();
  int read = 0;
  while (doc.FindChild() && ++read < 64) {
    (void)doc.GetChildText();
    if (doc.IntoChild()) {
      while (doc.FindSibling(u"item")) {
        (void)doc.GetText();
      }
      (void)doc.FindChild(u"ip");
      Check(doc.OutToParent());
    }
  }
  (void)doc.FindSibling(firstName);
  (void)doc.FindChild(firstName);
  (void)doc.FindChild(u"/x");
}

void CheckReport(const std::u16string &report) {
  if (report.empty()) {
    return;
  }
  CXmlDocument entries;
  const bool single = entries.Parse(report);
  Check(single || entries.ParseReport() == u"<root_has_sibling/>");
  for (int guard = 0; entries.FindSibling(); ++guard) {
    Check(guard < 1000);
    Check(!entries.FindChild());
  }
}

void Exercise(CXmlDocument &doc, std::u16string text) {
  const std::u16string copy = text;
  const bool wellFormed = doc.Parse(std::move(text));
  Check(wellFormed == doc.WellFormed());
  Check(doc.Text() == copy);
  WalkEverything(doc);
  CheckReport(doc.ParseReport());
  Check(doc.Parse(copy) == wellFormed);
  ReadLikeAReplyParser(doc);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  static CXmlDocument reused; // the table is kept and grown across parses
  const std::string_view bytes(reinterpret_cast<const char *>(data), size);
  CXmlDocument fresh;
  Exercise(fresh, corvesta::Utf8ToUtf16(bytes));

  std::u16string units(size / 2, u'\0');
  std::memcpy(units.data(), data, units.size() * sizeof(char16_t));
  Exercise(reused, std::move(units));
  return 0;
}
