#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "nas/xml/xml_document.h"

using namespace corvesta;

namespace {

std::string Narrow(std::u16string_view text) {
  return std::string(text.begin(), text.end());
}

// Every element in document order, each as "depth:name", walked with the
// navigation operations alone.
std::vector<std::string> Walk(CXmlDocument &doc) {
  std::vector<std::string> seen;
  int depth = 0;
  for (int guard = 0; guard < 1000; ++guard) {
    if (doc.FindSibling()) {
      seen.push_back(std::to_string(depth) + ":" + Narrow(doc.GetTagName()));
      doc.IntoChild();
      ++depth;
    } else if (doc.OutToParent()) {
      --depth;
    } else {
      break;
    }
  }
  return seen;
}

struct ParseCase {
  const char *what;
  std::u16string document;
  bool wellFormed;
  std::u16string report;
};

TEST(XmlDocument, ReportsEveryKindOfFault) {
  const ParseCase cases[] = {
      {"sound", u"<?xml version=\"1.0\"?>\n<r>\n <a x='1'>v</a>\n</r>\n", true, u""},
      {"empty text", u"", false, u""},
      {"no element", u"HTTP/1.0 200 OK\r\n\r\nsuccess", false, u"<no_root_element/>"},
      {"two roots", u"<a/><b/>", false, u"<root_has_sibling/>"},
      {"unended child", u"<a><b></a>", false,
       u"<unended_start_tag tagname=\"b\" offset=\"3\" offset2=\"7\"/>"},
      {"lone end tag", u"<a></b></a>", false, u"<lone_end_tag tagname=\"b\" offset=\"3\"/>"},
      {"end tag with nothing open", u"</a><a/>", false,
       u"<lone_end_tag tagname=\"a\" offset=\"0\"/>"},
      {"unended at the end", u"<a><b>", false,
       u"<unended_start_tag tagname=\"b\" offset=\"3\" offset2=\"6\"/>"
       u"<unended_start_tag tagname=\"a\" offset=\"0\" offset2=\"6\"/><root_has_sibling/>"},
      {"first tag", u"<a><1></a>", false, u"<first_tag_syntax offset=\"3\"/>"},
      {"exclamation", u"<a><!x></a>", false, u"<exclamation_tag_syntax offset=\"3\"/>"},
      {"comment", u"<a><!-x></a>", false, u"<comment_tag_syntax offset=\"3\"/>"},
      {"cdata", u"<a><![x></a>", false, u"<cdata_section_syntax offset=\"3\"/>"},
      {"doctype", u"<!DOCTYPE a [<!-- c -->]><a/>", false, u"<doctype_tag_syntax offset=\"0\"/>"},
      {"doctype ok", u"<!DOCTYPE a [<!ELEMENT a ANY>]><a/>", true, u""},
      {"start tag", u"<a x=\"1></a>", false,
       u"<unterminated_tag_syntax type=\"start_tag\" offset=\"0\"/><no_root_element/>"},
      {"end tag", u"<a></a", false,
       u"<unterminated_tag_syntax type=\"end_tag\" offset=\"3\"/>"
       u"<unended_start_tag tagname=\"a\" offset=\"0\" offset2=\"6\"/>"},
      {"processing instruction", u"<a/><?pi", false,
       u"<unterminated_tag_syntax type=\"processing_instruction\" offset=\"4\"/>"},
      {"open comment", u"<a/><!-- x", false,
       u"<unterminated_tag_syntax type=\"comment\" offset=\"4\"/>"},
      {"open cdata", u"<a/><![CDATA[x", false,
       u"<unterminated_tag_syntax type=\"cdata_section\" offset=\"4\"/>"},
      {"open doctype", u"<!DOCTYPE a [", false,
       u"<unterminated_tag_syntax type=\"document_type\" offset=\"0\"/><no_root_element/>"},
      {"faulty tag at the end", u"<a/><1", false,
       u"<unterminated_tag_syntax type=\"tag\" offset=\"4\"/>"},
      {"escaped tag name", u"<a></b\"&'<></a>", false,
       u"<lone_end_tag tagname=\"b&quot;&amp;&apos;&lt;\" offset=\"3\"/>"},
  };
  for (const ParseCase &c : cases) {
    SCOPED_TRACE(c.what);
    CXmlDocument doc;
    EXPECT_EQ(doc.Parse(c.document), c.wellFormed);
    EXPECT_EQ(doc.WellFormed(), c.wellFormed);
    EXPECT_EQ(Narrow(doc.ParseReport()), Narrow(c.report));
    EXPECT_EQ(doc.Record(0)->length, static_cast<std::int32_t>(c.document.size()));
  }
}

TEST(XmlDocument, BuildsWhatStructureAFaultyTextAllows) {
  const struct {
    const char *what;
    std::u16string document;
    std::vector<std::string> elements;
  } cases[] = {
      {"unended child becomes empty", u"<a><b></a>", {"0:a", "1:b"}},
      {"children move up behind an unended element",
       u"<r><a><b><c/>t</r>",
       {"0:r", "1:a", "1:b", "1:c"}},
      {"closed grandchildren stay inside", u"<r><a><b><c/></b></r>", {"0:r", "1:a", "1:b", "2:c"}},
      {"lone end tag is ignored", u"<a></b><c/></a>", {"0:a", "1:c"}},
      {"later top-level elements", u"<a/>x<b><c/></b>", {"0:a", "0:b", "1:c"}},
      {"unended top level", u"<a><b><c/>", {"0:a", "0:b", "0:c"}},
      {"whitespace, declaration and comments",
       u"<?xml?>\n<!--c-->\n<r>\n <a/>\n</r>\n",
       {"0:r", "1:a"}},
      {"text before the root", u"HTTP/1.0 200 OK\r\nContent-Type: text/xml\r\n\r\n<r/>", {"0:r"}},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.what);
    CXmlDocument doc;
    doc.Parse(c.document);
    EXPECT_EQ(Walk(doc), c.elements);
  }
}

TEST(XmlDocument, KeepsLinksFlagsAndParentsConsistentAfterUnending) {
  CXmlDocument doc;
  EXPECT_FALSE(doc.Parse(u"<r><a><1><b><c/></r>"));
  // Records in creation order: 1 r, 2 a, 3 b, 4 c.
  ASSERT_EQ(doc.RecordCount(), 5u);
  const ElementRecord &r = *doc.Record(1);
  const ElementRecord &a = *doc.Record(2);
  const ElementRecord &b = *doc.Record(3);
  const ElementRecord &c = *doc.Record(4);
  EXPECT_EQ(r.firstChild, 2u);
  EXPECT_EQ(a.nextSibling, 3u);
  EXPECT_EQ(b.nextSibling, 4u);
  EXPECT_EQ(c.nextSibling, 0u);
  EXPECT_EQ(a.previousSibling, 4u); // the first child's points at the last child
  EXPECT_EQ(b.previousSibling, 2u);
  EXPECT_EQ(c.previousSibling, 3u);
  for (const ElementRecord *child : {&a, &b, &c}) {
    EXPECT_EQ(child->parent, 1u);
    EXPECT_EQ(child->firstChild, 0u);
  }
  EXPECT_NE(a.flags & kElementFirstChild, 0u);
  EXPECT_EQ(b.flags & kElementFirstChild, 0u);
  EXPECT_EQ(c.flags & kElementFirstChild, 0u);
  EXPECT_NE(a.flags & kElementUnended, 0u);
  EXPECT_NE(b.flags & kElementUnended, 0u);
  EXPECT_EQ(r.flags & kElementUnended, 0u);
  // The fault inside a moved up to r when a was unended.
  EXPECT_EQ(a.flags & kElementFault, 0u);
  EXPECT_NE(r.flags & kElementFault, 0u);
  EXPECT_NE(doc.Record(0)->flags & kDocumentNotWellFormed, 0u);
  EXPECT_EQ(a.length, 3); // the start tag alone
  EXPECT_EQ(r.length, 20);
  EXPECT_EQ(r.flags & kElementDepthMask, 0u);
  EXPECT_EQ(b.flags & kElementDepthMask, 2u); // as nested in the text
}

TEST(XmlDocument, SearchesMoveForwardOnly) {
  CXmlDocument doc;
  doc.Parse(u"<r><a>1</a><b>2</b></r>");
  EXPECT_TRUE(doc.FindChild(u"b"));
  EXPECT_FALSE(doc.FindChild(u"a"));
  EXPECT_EQ(doc.GetChildText(), u"2"); // the failed search left b in place

  doc.Parse(u"<r><a>1</a><b>2</b></r>");
  EXPECT_TRUE(doc.FindChild(u"a"));
  EXPECT_EQ(doc.GetChildText(), u"1");
  EXPECT_TRUE(doc.FindChild(u"b"));
  EXPECT_EQ(doc.GetChildText(), u"2");
  EXPECT_FALSE(doc.FindChild());
}

TEST(XmlDocument, FindChildSelectsTheRootOfAFreshDocument) {
  CXmlDocument doc;
  doc.Parse(u"<res><x>5</x></res>");
  EXPECT_TRUE(doc.FindChild(u"x"));
  EXPECT_EQ(doc.GetTagName(), u"res");
  EXPECT_EQ(doc.GetChildTagName(), u"x");
  EXPECT_EQ(doc.GetChildText(), u"5");

  doc.Parse(u"<res><x>5</x></res>");
  EXPECT_TRUE(doc.FindSibling(u"res"));
  EXPECT_EQ(doc.CurrentIndex(), 1u);
  EXPECT_FALSE(doc.FindSibling(u"res"));
}

TEST(XmlDocument, MatchesWholeTagNamesOnly) {
  const struct {
    std::u16string document;
    std::u16string name;
    bool found;
  } cases[] = {
      {u"<ipaddr/>", u"ip", false},  {u"<ip/>", u"ipaddr", false},  {u"<ip/>", u"ip", true},
      {u"<ip/>", u"IP", false},      {u"<ip a='1'/>", u"ip", true}, {u"<ip/>", u"ip/x", true},
      {u"<ip/>", u"ip[1]", true},    {u"<ip/>", u"ip x", true},     {u"<ip/>", u"ipx", false},
      {u"<ip/>", u"/ip", false},     {u"<ip/>", u"", true},         {u"<ip;x/>", u"ip", true},
      {u"<ns:ip/>", u"ns:ip", true}, {u"<ns:ip/>", u"ip", false},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(Narrow(c.document) + " " + Narrow(c.name));
    CXmlDocument doc;
    doc.Parse(c.document);
    EXPECT_EQ(doc.FindSibling(c.name), c.found);
  }
  CXmlDocument doc;
  doc.Parse(u"<a/>");
  EXPECT_TRUE(doc.FindSibling(static_cast<const char16_t *>(nullptr)));
}

TEST(XmlDocument, StepsIntoAndOutOfElements) {
  CXmlDocument doc;
  doc.Parse(u"<r><a><x>1</x><y>2</y></a><b>3</b></r>");
  EXPECT_FALSE(doc.IntoChild()); // no current element yet
  EXPECT_FALSE(doc.OutToParent());
  ASSERT_TRUE(doc.FindChild(u"a"));
  ASSERT_TRUE(doc.IntoChild()); // a is current, r the parent
  EXPECT_EQ(doc.GetTagName(), u"a");
  ASSERT_TRUE(doc.FindChild(u"y"));
  EXPECT_EQ(doc.GetChildText(), u"2");
  ASSERT_TRUE(doc.IntoChild()); // y current, a parent
  EXPECT_EQ(doc.GetText(), u"2");
  EXPECT_FALSE(doc.FindSibling(u"x")); // behind y
  ASSERT_TRUE(doc.OutToParent());
  EXPECT_EQ(doc.GetTagName(), u"a");
  EXPECT_EQ(doc.GetChildTagName(), u"y");
  ASSERT_TRUE(doc.OutToParent());
  EXPECT_EQ(doc.GetTagName(), u"r");
  EXPECT_EQ(doc.GetChildTagName(), u"a");
  EXPECT_TRUE(doc.FindChild(u"b"));
  EXPECT_EQ(doc.GetChildText(), u"3");
  EXPECT_FALSE(doc.OutToParent()); // r is at the top level
  // Into an element with no current child: before its first child.
  doc.Parse(u"<r><a/></r>");
  ASSERT_TRUE(doc.FindSibling());
  ASSERT_TRUE(doc.IntoChild());
  EXPECT_EQ(doc.CurrentIndex(), 0u);
  EXPECT_EQ(doc.GetText(), u"");
  EXPECT_TRUE(doc.FindSibling(u"a"));
}

// A cgi_get_wizard style reply read the way the reply parsers read it.
TEST(XmlDocument, ReadsABoxReply) {
  const std::u16string reply =
      u"HTTP/1.0 200 OK\r\nContent-Type: text/xml\r\nConnection: close\r\n\r\n"
      u"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      u"<config>\n"
      u"  <lan>\n    <dhcp_enable>0</dhcp_enable>\n    <ip>192.168.1.20</ip>\n"
      u"    <netmask>255.255.255.0</netmask>\n    <gateway></gateway>\n"
      u"    <dns1>0.0.0.0</dns1>\n  </lan>\n"
      u"  <system>\n    <name>NAS-B&amp;W</name>\n    <workgroup>WORKGROUP</workgroup>\n"
      u"    <description><![CDATA[Caf\u00E9 <shelf>]]></description>\n"
      u"    <timezone>35</timezone>\n  </system>\n"
      u"</config>\n";
  CXmlDocument doc;
  ASSERT_TRUE(doc.Parse(std::u16string(reply)));
  ASSERT_TRUE(doc.FindChild(u"lan"));
  ASSERT_TRUE(doc.IntoChild());
  EXPECT_TRUE(doc.FindChild(u"dhcp_enable"));
  EXPECT_EQ(doc.GetChildText(), u"0");
  EXPECT_TRUE(doc.FindChild(u"ip"));
  EXPECT_EQ(doc.GetChildText(), u"192.168.1.20");
  EXPECT_TRUE(doc.FindChild(u"netmask"));
  EXPECT_TRUE(doc.FindChild(u"gateway"));
  EXPECT_EQ(doc.GetChildText(), u"");
  EXPECT_FALSE(doc.FindChild(u"dns2"));
  EXPECT_EQ(doc.GetChildTagName(), u"gateway");
  ASSERT_TRUE(doc.OutToParent());
  ASSERT_TRUE(doc.FindChild(u"system"));
  ASSERT_TRUE(doc.IntoChild());
  EXPECT_TRUE(doc.FindChild(u"name"));
  EXPECT_EQ(doc.GetChildText(), u"NAS-B&W");
  EXPECT_TRUE(doc.FindChild(u"description"));
  EXPECT_EQ(doc.GetChildText(), u"Caf\u00E9 <shelf>");
  EXPECT_TRUE(doc.FindChild(u"timezone"));
  EXPECT_EQ(doc.GetChildText(), u"35");
}

TEST(XmlDocument, ReusesItsTableAcrossParses) {
  CXmlDocument doc;
  std::u16string big = u"<r>";
  for (int i = 0; i < 2000; ++i) {
    big += u"<i>" + std::u16string(1, static_cast<char16_t>(u'a' + i % 26)) + u"</i>";
  }
  big += u"</r>";
  EXPECT_TRUE(doc.Parse(big));
  EXPECT_EQ(doc.RecordCount(), 2002u);
  EXPECT_FALSE(doc.Parse(u"<x><y>1</y></z>"));
  EXPECT_EQ(doc.RecordCount(), 3u);
  EXPECT_EQ(Walk(doc), (std::vector<std::string>{"0:x", "0:y"})); // x was unended
  EXPECT_FALSE(doc.Parse(u"<a/>a<b/>"));
  EXPECT_EQ(Narrow(doc.ParseReport()), "<root_has_sibling/>");
  EXPECT_TRUE(doc.Parse(u"<a>1</a>"));
  EXPECT_EQ(doc.ParseReport(), u"");

  EXPECT_FALSE(doc.Parse(static_cast<const char16_t *>(nullptr)));
  EXPECT_FALSE(doc.WellFormed());
  EXPECT_EQ(doc.Record(0), nullptr);
  EXPECT_FALSE(doc.FindChild());
  EXPECT_FALSE(doc.FindSibling());
  EXPECT_EQ(doc.GetText(), u"");
  EXPECT_TRUE(doc.Parse(u"<a>2</a>"));
  ASSERT_TRUE(doc.FindSibling(u"a"));
  EXPECT_EQ(doc.GetText(), u"2");
}

// A text given by reference is copied while the table is built, a stretch
// at a time: texts of many stretches, with nodes across every boundary and
// single nodes longer than a stretch, come out as the same text, table and
// report as when the text is moved in.
TEST(XmlDocument, CopiesAGivenTextWhileBuilding) {
  std::u16string items = u"<r>";
  for (int i = 0; items.size() < 60000; ++i) {
    items += u"<i n='" + std::u16string(static_cast<std::size_t>(i % 13), u'v') + u"'>x&amp;" +
             std::u16string(static_cast<std::size_t>(i % 7), u'\u00e9') + u"</i><j/>\n";
    if (i % 500 == 0) {
      items += u"</k><1>";
    }
  }
  items += u"</r>";
  const std::u16string cases[] = {
      items,
      u"<r><!--" + std::u16string(20000, u'-') + u"--><a>1</a></r>",
      u"<r>" + std::u16string(30000, u'x') + u"<a x=\"" + std::u16string(20000, u'>') + u"\"/>",
      u"text only " + std::u16string(9000, u'y'),
      u"<r>",
      u"",
  };
  for (const std::u16string &text : cases) {
    SCOPED_TRACE(text.size());
    CXmlDocument copied;
    CXmlDocument moved;
    const bool wellFormed = copied.Parse(text);
    EXPECT_EQ(moved.Parse(std::u16string(text)), wellFormed);
    EXPECT_EQ(copied.Text(), text);
    EXPECT_EQ(copied.ParseReport(), moved.ParseReport());
    ASSERT_EQ(copied.RecordCount(), moved.RecordCount());
    for (ElementIndex i = 0; i < copied.RecordCount(); ++i) {
      const ElementRecord &a = *copied.Record(i);
      const ElementRecord &b = *moved.Record(i);
      ASSERT_EQ(std::tie(a.start, a.length, a.tagLengths, a.flags, a.parent, a.firstChild,
                         a.nextSibling, a.previousSibling),
                std::tie(b.start, b.length, b.tagLengths, b.flags, b.parent, b.firstChild,
                         b.nextSibling, b.previousSibling))
          << "record " << i;
    }
  }
  EXPECT_FALSE(CXmlDocument().Parse(items)); // the stray tags made it faulty
}

// A document may be given its own text or report, whole or in part.
TEST(XmlDocument, ParsesItsOwnTextAndReport) {
  CXmlDocument doc;
  ASSERT_TRUE(doc.Parse(u"<r><a>1</a><b>2</b></r>"));
  EXPECT_TRUE(doc.Parse(doc.Text()));
  EXPECT_EQ(doc.Text(), u"<r><a>1</a><b>2</b></r>");
  ASSERT_TRUE(doc.FindChild(u"b"));
  EXPECT_EQ(doc.GetChildText(), u"2");

  EXPECT_TRUE(doc.Parse(doc.Text().substr(3, 8)));
  EXPECT_EQ(doc.Text(), u"<a>1</a>");
  ASSERT_TRUE(doc.FindSibling(u"a"));
  EXPECT_EQ(doc.GetText(), u"1");

  EXPECT_FALSE(doc.Parse(u"<a></b></a>"));
  const std::u16string report(doc.ParseReport());
  EXPECT_TRUE(doc.Parse(doc.ParseReport()));
  EXPECT_EQ(doc.Text(), report);
  EXPECT_EQ(doc.ParseReport(), u"");
  EXPECT_TRUE(doc.FindSibling(u"lone_end_tag"));
}

TEST(XmlDocument, MovesWithItsPositions) {
  CXmlDocument doc;
  doc.Parse(u"<r><a>1</a><b>2</b></r>");
  ASSERT_TRUE(doc.FindChild(u"a"));
  CXmlDocument moved = std::move(doc);
  EXPECT_EQ(moved.GetChildText(), u"1");
  EXPECT_TRUE(moved.FindChild(u"b"));
  // What is left behind is empty and safe to use.
  EXPECT_FALSE(doc.FindChild()); // NOLINT(bugprone-use-after-move)
  EXPECT_FALSE(doc.WellFormed());
  EXPECT_EQ(doc.GetText(), u"");
  EXPECT_TRUE(doc.Parse(u"<c/>"));
}

TEST(XmlDocument, StartsEmpty) {
  CXmlDocument doc;
  EXPECT_FALSE(doc.WellFormed());
  EXPECT_EQ(doc.ParseReport(), u"");
  EXPECT_FALSE(doc.FindSibling());
  EXPECT_FALSE(doc.FindChild());
  EXPECT_EQ(doc.GetText(), u"");
  EXPECT_EQ(doc.GetChildText(), u"");
}

// Nesting is handled without recursion; 100,000 levels fit any stack.
TEST(XmlDocument, ReadsDeepNesting) {
  constexpr int kLevels = 100000;
  std::u16string text;
  for (int i = 0; i < kLevels; ++i) {
    text += u"<a>";
  }
  text += u"x";
  for (int i = 0; i < kLevels; ++i) {
    text += u"</a>";
  }
  CXmlDocument doc;
  ASSERT_TRUE(doc.Parse(text));
  ASSERT_TRUE(doc.FindSibling(u"a"));
  int depth = 1;
  while (doc.FindChild(u"a") && doc.IntoChild()) {
    ++depth;
  }
  EXPECT_EQ(depth, kLevels);
  EXPECT_EQ(doc.GetText(), u"x");
  const ElementRecord &deepest = *doc.Record(doc.CurrentIndex());
  // The depth is held at its 16-bit limit and does not spill into the flags.
  EXPECT_EQ(deepest.flags, kElementDepthMask | kElementFirstChild);
  int up = 0;
  while (doc.OutToParent()) {
    ++up;
  }
  EXPECT_EQ(up, kLevels - 1);
}

// End tags that match nothing under deep nesting, and unending every level
// at once, stay linear: an end tag does not walk the open elements, and
// each moved element is relinked once, not once per level.
TEST(XmlDocument, HandlesMismatchedDeepNestingInLinearTime) {
  constexpr int kLevels = 100000;
  std::u16string text = u"<r>";
  for (int i = 0; i < kLevels; ++i) {
    text += u"<a>";
  }
  for (int i = 0; i < kLevels; ++i) {
    text += u"</b>";
  }
  text += u"</r>";
  CXmlDocument doc;
  EXPECT_FALSE(doc.Parse(text));
  ASSERT_TRUE(doc.FindSibling(u"r"));
  int children = 0;
  while (doc.FindChild(u"a")) {
    ++children;
    EXPECT_EQ(doc.Record(doc.ChildIndex())->parent, doc.CurrentIndex());
  }
  EXPECT_EQ(children, kLevels);
  EXPECT_EQ(doc.ParseReport().rfind(u"<lone_end_tag tagname=\"b\" offset=\"300003\"/>", 0), 0u);
  EXPECT_GE(doc.ParseReport().size(), kXmlReportCap);
  // The faults inside the unended elements end up on r.
  EXPECT_NE(doc.Record(doc.CurrentIndex())->flags & kElementFault, 0u);
}

TEST(XmlDocument, HoldsMoreElementsThanOneSegment) {
  constexpr int kItems = 150000;
  std::u16string text = u"<list>";
  for (int i = 0; i < kItems; ++i) {
    text += u"<item>" + std::u16string(1, static_cast<char16_t>(u'0' + i % 10)) + u"</item>";
  }
  text += u"</list>";
  CXmlDocument doc;
  ASSERT_TRUE(doc.Parse(text));
  EXPECT_EQ(doc.RecordCount(), static_cast<ElementIndex>(kItems + 2));
  int items = 0;
  bool textsMatch = true;
  while (doc.FindChild(u"item")) {
    textsMatch = textsMatch &&
                 doc.GetChildText() == std::u16string(1, static_cast<char16_t>(u'0' + items % 10));
    ++items;
  }
  EXPECT_EQ(items, kItems);
  EXPECT_TRUE(textsMatch);
  EXPECT_EQ(doc.ChildIndex(), static_cast<ElementIndex>(kItems + 1));
  EXPECT_EQ(doc.Record(2)->previousSibling, static_cast<ElementIndex>(kItems + 1));
}

} // namespace
