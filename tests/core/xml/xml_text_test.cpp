// The text of an element as the reply parsers read it.
#include <gtest/gtest.h>

#include <string>

#include "nas/xml/xml_document.h"

using namespace corvesta;

namespace {

struct TextCase {
  const char *what;
  std::u16string document;
  std::u16string text; // of the root
};

TEST(XmlElementText, DecodesContentBetweenTheTags) {
  const TextCase cases[] = {
      {"references", u"<a>x&amp;y&lt;&#65;&#x42;&Eacute;&bogus;&</a>", u"x&y<AB\u00C9&bogus;&"},
      {"cdata and comment", u"<a><![CDATA[<b>]]> c <!--z--></a>", u"<b> c "},
      {"blanks around a comment", u"<a> <!--z--> </a>", u""},
      {"blanks only", u"<a> \t </a>", u" \t "},
      {"value on its own line", u"<a>\n  v\n</a>", u"\n  v\n"},
      {"cdata is not decoded", u"<a><![CDATA[&amp;]]>&amp;</a>", u"&amp;&"},
      {"processing instruction", u"<a>x<?p?>y</a>", u"xy"},
      {"end tag that closes nothing", u"<a>x</b>y</a>", u"xy"},
      {"short cdata", u"<a><![Cx]]>y</a>", u"y"},
      {"child element", u"<a>x<b>1</b>y</a>", u""},
      {"empty element", u"<a/>", u""},
      {"no content", u"<a></a>", u""},
      {"unended root", u"<a>text", u""},
      {"attributes", u"<a x=\"<>\" y='&amp;'>v</a>", u"v"},
  };
  for (const TextCase &c : cases) {
    SCOPED_TRACE(c.what);
    CXmlDocument doc;
    doc.Parse(c.document);
    ASSERT_TRUE(doc.FindSibling());
    EXPECT_EQ(doc.GetText(), c.text);
  }
}

TEST(XmlElementText, ChildTextIsTheTextOfTheCurrentChild) {
  CXmlDocument doc;
  doc.Parse(u"<r><a>1</a><b> 2 </b><c/></r>");
  EXPECT_EQ(doc.GetChildText(), u"");
  ASSERT_TRUE(doc.FindChild(u"b"));
  EXPECT_EQ(doc.GetChildText(), u" 2 ");
  EXPECT_EQ(doc.GetText(), u"");
  ASSERT_TRUE(doc.FindChild(u"c"));
  EXPECT_EQ(doc.GetChildText(), u"");
}

// Tag lengths are kept in 22 and 10 bits; longer tags are measured again.
TEST(XmlElementText, ReadsAroundTagsTooLongForTheirFields) {
  CXmlDocument doc;
  const std::u16string longEnd = u"<r><a>v<!--x-->w</a" + std::u16string(1100, u' ') + u"></r>";
  EXPECT_TRUE(doc.Parse(longEnd)) << std::string(doc.ParseReport().begin(),
                                                 doc.ParseReport().end());
  ASSERT_TRUE(doc.FindChild(u"a"));
  EXPECT_EQ(doc.GetChildText(), u"vw");

  const std::u16string longStart = u"<a x=\"" + std::u16string(0x400000, u'y') + u"\">t&amp;</a>";
  EXPECT_TRUE(doc.Parse(longStart));
  ASSERT_TRUE(doc.FindSibling(u"a"));
  EXPECT_EQ(doc.GetText(), u"t&");
  EXPECT_EQ(doc.Record(doc.CurrentIndex())->length, static_cast<std::int32_t>(longStart.size()));
}

} // namespace
