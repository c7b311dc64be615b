#include <gtest/gtest.h>

#include <string>

#include "nas/xml/xml_node_scanner.h"

using namespace corvesta;

namespace {

struct NodeCase {
  std::u16string text;
  XmlNodeKind kind;
  std::size_t length;
  XmlFault fault = XmlFault::None;
  XmlUnterminated unterminated = XmlUnterminated::Tag;
};

using K = XmlNodeKind;
using F = XmlFault;
using U = XmlUnterminated;

TEST(XmlNodeScanner, ReadsEachKindOfNode) {
  const NodeCase cases[] = {
      {u" \r\n\t<a/>", K::Whitespace, 4},
      {u" x <a/>", K::Text, 3},
      {u"abc", K::Text, 3},
      {u"a>b<", K::Text, 3},
      {u"<a x=\">\" y='>'>z", K::StartTag, 15},
      {u"<a x==\">\">", K::StartTag, 8},   // "==" cancels: the quote opens nothing
      {u"<a x= \"v>\">", K::StartTag, 11}, // blanks keep the "=" pending
      {u"<a x=y\">\">", K::StartTag, 8},   // an unquoted value: the quote is plain
      {u"<a \"x>\">", K::StartTag, 6},     // a quote without "=" opens nothing
      {u"</a >", K::EndTag, 5},
      {u"</>", K::EndTag, 3},
      {u"<?xml version=\"1.0\"?><r/>", K::ProcessingInstruction, 21},
      {u"<!-- a -- b -->x", K::Comment, 15},
      {u"<![CDATA[<x>]]>", K::Cdata, 15},
      {u"<!DOCTYPE r [<!ELEMENT r ANY><!ATTLIST r a CDATA \"x>y\">]>x", K::DocumentType, 57},
      {u"<!DOCTYPE r [<!-- c -->]>", K::Error, 23, F::DoctypeTagSyntax},
      {u"<!x>", K::Error, 4, F::ExclamationTagSyntax},
      {u"<!>", K::Error, 3, F::ExclamationTagSyntax},
      {u"<!-x>", K::Error, 5, F::CommentTagSyntax},
      {u"<![X>", K::Error, 5, F::CdataSectionSyntax},
      {u"<1>", K::Error, 3, F::FirstTagSyntax},
      {u"< a>", K::Error, 4, F::FirstTagSyntax},
      {u"<>", K::Error, 2, F::FirstTagSyntax},
      {u"<<a>", K::Error, 1, F::FirstTagSyntax},
      {u"<1 x<a>", K::Error, 4, F::FirstTagSyntax},
      {u"<a x=\"1>", K::Error, 8, F::UnterminatedTagSyntax, U::StartTag},
      {u"<a", K::Error, 2, F::UnterminatedTagSyntax, U::StartTag},
      {u"</a", K::Error, 3, F::UnterminatedTagSyntax, U::EndTag},
      {u"<?pi", K::Error, 4, F::UnterminatedTagSyntax, U::ProcessingInstruction},
      {u"<!-- x", K::Error, 6, F::UnterminatedTagSyntax, U::Comment},
      {u"<!-->", K::Error, 5, F::UnterminatedTagSyntax, U::Comment},
      {u"<![CDATA[ x]]", K::Error, 13, F::UnterminatedTagSyntax, U::CdataSection},
      {u"<!DOCTYPE r [<!ELEMENT r \">\"", K::Error, 28, F::UnterminatedTagSyntax, U::DocumentType},
      {u"<!DOCTYPE r <!", K::Error, 14, F::UnterminatedTagSyntax, U::DocumentType},
      {u"<1", K::Error, 2, F::UnterminatedTagSyntax, U::Tag},
      {u"<", K::Error, 1, F::UnterminatedTagSyntax, U::Tag},
      {u"<!", K::Error, 2, F::UnterminatedTagSyntax, U::Tag},
      {u"<!-", K::Error, 3, F::UnterminatedTagSyntax, U::Tag},
  };
  for (const NodeCase &c : cases) {
    SCOPED_TRACE(std::string(c.text.begin(), c.text.end()));
    const XmlNode node = ScanXmlNode(c.text, 0);
    EXPECT_EQ(node.kind, c.kind);
    EXPECT_EQ(node.start, 0u);
    EXPECT_EQ(node.length, c.length);
    EXPECT_EQ(node.fault, c.fault);
    if (c.fault == F::UnterminatedTagSyntax) {
      EXPECT_EQ(node.unterminated, c.unterminated);
    }
  }
}

TEST(XmlNodeScanner, TellsEmptyElementsByWhatStandsBeforeTheSlash) {
  const struct {
    std::u16string text;
    bool empty;
  } cases[] = {
      {u"<a/>", true},         {u"<ab />", true},     {u"<a\t/>", true},
      {u"<a x=\"1\"/>", true}, {u"<a x='1'/>", true}, {u"<a x=1/>", false},
      {u"<a/ >", false},       {u"<a x/>", false},    {u"<a>", false},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(std::string(c.text.begin(), c.text.end()));
    const XmlNode node = ScanXmlNode(c.text, 0);
    ASSERT_EQ(node.kind, K::StartTag);
    EXPECT_EQ(node.emptyElement, c.empty);
  }
}

TEST(XmlNodeScanner, GivesTheTagNameOfStartAndEndTags) {
  const std::u16string text = u"x<ns:item id=\"1\">v</ns:item\n>";
  const XmlNode start = ScanXmlNode(text, 1);
  ASSERT_EQ(start.kind, K::StartTag);
  EXPECT_EQ(text.substr(start.nameStart, start.nameLength), u"ns:item");
  const XmlNode end = ScanXmlNode(text, 18);
  ASSERT_EQ(end.kind, K::EndTag);
  EXPECT_EQ(end.start, 18u);
  EXPECT_EQ(end.length, 11u);
  EXPECT_EQ(text.substr(end.nameStart, end.nameLength), u"ns:item");
}

TEST(XmlNodeScanner, WalksAWholeTextToItsEnd) {
  const std::u16string text = u"<?xml?>\n<r a='1'><!--c--><![CDATA[d]]>t</r><";
  std::size_t offset = 0;
  std::u16string kinds;
  for (int guard = 0; guard < 100; ++guard) {
    const XmlNode node = ScanXmlNode(text, offset);
    kinds += static_cast<char16_t>(u'0' + static_cast<int>(node.kind));
    if (node.kind == K::EndOfDocument) {
      break;
    }
    ASSERT_GT(node.length, 0u);
    offset = node.start + node.length;
  }
  EXPECT_EQ(offset, text.size());
  // PI, whitespace, start, comment, CDATA, text, end, error, end of text.
  EXPECT_EQ(kinds, u"513672490");
}

} // namespace
