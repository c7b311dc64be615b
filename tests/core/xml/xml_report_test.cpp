#include <gtest/gtest.h>

#include <string>

#include "nas/xml/xml_document.h"
#include "nas/xml/xml_report.h"

using namespace corvesta;

namespace {

std::string Narrow(std::u16string_view text) {
  return std::string(text.begin(), text.end());
}

TEST(XmlReport, EscapesAttributeValues) {
  EXPECT_EQ(EscapeXmlAttribute(u"a&b<c>d\"e'f\u00E9"), u"a&amp;b&lt;c&gt;d&quot;e&apos;f\u00E9");
  std::u16string report;
  AppendXmlFinding(report, XmlFinding{kLoneEndTag}.With(u"tagname", u"x>\"y").With(u"offset", 0));
  AppendXmlFinding(report, XmlFinding{kNoRootElement});
  EXPECT_EQ(Narrow(report),
            "<lone_end_tag tagname=\"x&gt;&quot;y\" offset=\"0\"/><no_root_element/>");
}

// The report is itself readable: its entries parse back with their
// attribute values intact.
TEST(XmlReport, ReadsBackAsADocument) {
  CXmlDocument doc;
  doc.Parse(u"<a></b&'\"<></a><c>");
  CXmlDocument report;
  report.Parse(doc.ParseReport());
  EXPECT_EQ(Narrow(report.ParseReport()), "<root_has_sibling/>");
  ASSERT_TRUE(report.FindSibling(u"lone_end_tag"));
  ASSERT_TRUE(report.FindSibling(u"unended_start_tag"));
  ASSERT_TRUE(report.FindSibling(u"root_has_sibling"));
  EXPECT_FALSE(report.FindSibling());
}

TEST(XmlReport, DropsFindingsOnceFull) {
  std::u16string text = u"<a>";
  for (int i = 0; i < 100; ++i) {
    text += u"</b>";
  }
  text += u"</a>";
  CXmlDocument doc;
  EXPECT_FALSE(doc.Parse(text));
  const std::u16string &report = doc.ParseReport();
  ASSERT_GE(report.size(), kXmlReportCap);
  // Every entry but the last was written while the report was below the cap.
  const std::size_t lastEntry = report.rfind(u"<lone_end_tag");
  EXPECT_LT(lastEntry, kXmlReportCap);
  std::size_t entries = 0;
  for (std::size_t at = report.find(u"<lone_end_tag"); at != report.npos;
       at = report.find(u"<lone_end_tag", at + 1)) {
    ++entries;
  }
  EXPECT_LT(entries, 100u);
  // The first entry is the first fault.
  EXPECT_EQ(Narrow(report.substr(0, 38)), "<lone_end_tag tagname=\"b\" offset=\"3\"/>");
}

} // namespace
