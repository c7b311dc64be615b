#include <gtest/gtest.h>

#include <string>

#include "nas/xml/xml_node_scanner.h"
#include "nas/xml/xml_unit_search.h"

using namespace corvesta;
using namespace corvesta::xml_unit_search;

namespace {

// Units that must count as plain: above ">" and above 0x7FFF, where a signed
// comparison would see them as negative.
constexpr char16_t kFillers[] = {u'a', u'\u00e9', u'\u8000', u'\uff1e', u'\uffff'};

// The searches look at blocks of units: the unit sought is put at every
// offset of texts up to three blocks long, with fillers of every kind in
// front of it, and searched from every earlier offset.
TEST(XmlUnitSearch, FindsTheFirstUnitAtEveryOffset) {
  for (const char16_t filler : kFillers) {
    for (std::size_t size = 0; size <= 26; ++size) {
      for (std::size_t at = 0; at <= size; ++at) {
        std::u16string text(size, filler);
        if (at < size) {
          text[at] = u'<';
        }
        if (at + 1 < size) {
          text[at + 1] = u'<'; // a second hit behind the first changes nothing
        }
        SCOPED_TRACE(testing::Message()
                     << "filler " << static_cast<int>(filler) << " size " << size << " at " << at);
        for (std::size_t from = 0; from <= at; ++from) {
          EXPECT_EQ(FindUnit(text, from, u'<'), at);
          EXPECT_EQ(FindAtOrBelow(text, from, u'>'), at);
        }
        EXPECT_EQ(FindUnit(text, size + 1, u'<'), size);
      }
    }
  }
}

TEST(XmlUnitSearch, ComparesUnitsAsUnsignedNumbers) {
  const struct {
    char16_t unit;
    char16_t limit;
    bool found;
  } cases[] = {
      {u'>', u'>', true},
      {u'?', u'>', false},
      {u'\0', u'>', true},
      {u'\u8000', u'>', false},
      {u'\ufffe', u'>', false},
      {u'\u7fff', u'\u8000', true},
      {u'\u8001', u'\u8000', false},
      {u'\ufffe', u'\ufffe', true},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(static_cast<int>(c.unit));
    for (std::size_t size : {1u, 9u, 17u}) {
      std::u16string text(size, u'\uffff');
      text.back() = c.unit;
      EXPECT_EQ(FindAtOrBelow(text, 0, c.limit), c.found ? size - 1 : size);
    }
  }
}

TEST(XmlUnitSearch, FindsASequenceOnlyWhenWhole) {
  const struct {
    std::u16string text;
    std::size_t from;
    std::size_t found;
  } cases[] = {
      {u"]]>", 0, 0},
      {u"a]]b]]]>", 0, 5},
      {std::u16string(17, u']') + u">", 0, 15},
      {u"x]]>y]]>", 2, 5},
      {u"]]", 0, 2},
      {u"abcdefghijklmnop]]", 0, 18},
      {u"abcdefghijklmnop]]>", 0, 16},
      {u"]]>", 4, 3},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(std::string(c.text.begin(), c.text.end()));
    EXPECT_EQ(FindSequence(c.text, c.from, u"]]>"), c.found);
  }
}

// The scanner skips runs of plain units in names, values and text: tags
// whose names and quoted values are of every length up to two blocks end
// where they should, with their names measured and their empty mark set.
TEST(XmlUnitSearch, ScannerFindsTagEndsAcrossBlocks) {
  for (const char16_t filler : kFillers) {
    for (std::size_t nameLength = 1; nameLength <= 18; ++nameLength) {
      for (std::size_t valueLength = 0; valueLength <= 18; ++valueLength) {
        const std::u16string name = u"n" + std::u16string(nameLength - 1, filler);
        // A ">" and the other quote inside the value do not end anything.
        std::u16string value(valueLength, filler);
        if (valueLength > 2) {
          value[valueLength / 2] = u'>';
          value[valueLength / 3] = u'\'';
        }
        const std::u16string tag = u"<" + name + u" k=\"" + value + u"\"/>";
        SCOPED_TRACE(testing::Message() << "filler " << static_cast<int>(filler) << " name "
                                        << nameLength << " value " << valueLength);
        const std::u16string text = tag + u"text" + std::u16string(valueLength, filler) + u"</" +
                                    name + u"\t>" + std::u16string(nameLength, filler);

        const XmlNode start = ScanXmlNode(text, 0);
        ASSERT_EQ(start.kind, XmlNodeKind::StartTag);
        EXPECT_EQ(start.length, tag.size());
        EXPECT_EQ(start.nameLength, nameLength);
        EXPECT_TRUE(start.emptyElement);

        const XmlNode content = ScanXmlNode(text, start.length);
        ASSERT_EQ(content.kind, XmlNodeKind::Text);
        EXPECT_EQ(content.length, 4 + valueLength);

        const XmlNode end = ScanXmlNode(text, content.start + content.length);
        ASSERT_EQ(end.kind, XmlNodeKind::EndTag);
        EXPECT_EQ(end.length, nameLength + 4);
        EXPECT_EQ(end.nameLength, nameLength);

        const XmlNode rest = ScanXmlNode(text, end.start + end.length);
        EXPECT_EQ(rest.kind, XmlNodeKind::Text);
        EXPECT_EQ(rest.start + rest.length, text.size());

        // Cut inside the quoted value, the tag is unterminated.
        const std::u16string cut = tag.substr(0, tag.size() - 3);
        const XmlNode open = ScanXmlNode(cut, 0);
        EXPECT_EQ(open.kind, XmlNodeKind::Error);
        EXPECT_EQ(open.unterminated, XmlUnterminated::StartTag);
        EXPECT_EQ(open.length, cut.size());
      }
    }
  }
}

// After a run of plain units the state of the tag is as if each had been
// read alone: "==" after a run still cancels, a run cancels a pending "=".
TEST(XmlUnitSearch, ScannerKeepsTheTagStateAcrossRuns) {
  const struct {
    std::u16string text;
    std::size_t length;
    bool empty;
  } cases[] = {
      {u"<abcdefghijkl x=abcdefghijkl\">\">", 30, false},
      {u"<abcdefghijkl abcdefghijkl=\"abcdefghijkl>\"/>", 44, true},
      {u"<abcdefghijkl abcdefghijkl==\">\">", 30, false},
      {u"<abcdefghijkl abcdefghijkl=   'abcdefghi\"jkl>'  />", 50, true},
      {u"<abcdefghijkl abcdefghijkl/>", 28, false},
      {u"<abcdefghijklmnopq/>", 20, true},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(std::string(c.text.begin(), c.text.end()));
    const XmlNode node = ScanXmlNode(c.text, 0);
    ASSERT_EQ(node.kind, XmlNodeKind::StartTag);
    EXPECT_EQ(node.length, c.length);
    EXPECT_EQ(node.emptyElement, c.empty);
  }
}

} // namespace
