#include "nas/xml/xml_report.h"

#include "nas/xml/xml_document.h"

namespace corvesta {

XmlFinding &XmlFinding::With(std::u16string_view attribute, std::u16string value) {
  if (attributeCount < attributes.size()) {
    attributes[attributeCount++] = Attribute{attribute, std::move(value)};
  }
  return *this;
}

XmlFinding &XmlFinding::With(std::u16string_view attribute, std::size_t offset) {
  std::u16string digits;
  do {
    digits.insert(digits.begin(), static_cast<char16_t>(u'0' + offset % 10));
    offset /= 10;
  } while (offset != 0);
  return With(attribute, std::move(digits));
}

std::u16string EscapeXmlAttribute(std::u16string_view value) {
  std::u16string escaped;
  escaped.reserve(value.size());
  for (char16_t ch : value) {
    switch (ch) {
    case u'&':
      escaped += u"&amp;";
      break;
    case u'<':
      escaped += u"&lt;";
      break;
    case u'>':
      escaped += u"&gt;";
      break;
    case u'"':
      escaped += u"&quot;";
      break;
    case u'\'':
      escaped += u"&apos;";
      break;
    default:
      escaped.push_back(ch);
    }
  }
  return escaped;
}

// Written with the document's own writing side: the report text is read as
// a document, an empty element is added at the end of its top level and
// the attributes are set on it.
void AppendXmlFinding(std::u16string &report, const XmlFinding &finding) {
  if (report.size() >= kXmlReportCap) {
    return;
  }
  CXmlDocument writer = CXmlDocument::ForWriting();
  writer.Parse(report);
  writer.AppendEmptyElement(finding.name);
  for (std::size_t i = 0; i < finding.attributeCount; ++i) {
    writer.SetAttribute(finding.attributes[i].name, finding.attributes[i].value);
  }
  report = writer.m_text;
}

} // namespace corvesta
