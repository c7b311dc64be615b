#include <gtest/gtest.h>

#include <map>
#include <string>

#include "nas/xml/xml_named_references.h"
#include "nas/xml/xml_references.h"

using namespace corvesta;

namespace {

std::u16string Decode(std::u16string_view text) {
  std::u16string out = u">";
  AppendDecodedText(text, out);
  return out.substr(1);
}

TEST(XmlReferences, DecodesNumericAndNamedReferences) {
  const struct {
    std::u16string text;
    std::u16string decoded;
  } cases[] = {
      {u"x&amp;y&lt;&#65;&#x42;&Eacute;&bogus;&", u"x&y<AB\u00C9&bogus;&"},
      {u"&eacute;&EACUTE;&eAcute;", u"\u00E9\u00C9\u00C9"},
      {u"&larr;&lArr;&dagger;&Dagger;&yuml;&Yuml;", u"\u2190\u21D0\u2020\u2021\u00FF\u0178"},
      {u"&AMP;&Lt;&apos;&quot;&nbsp;&euro;&diams;&thetasym;", u"&<'\"\u00A0\u20AC\u2666\u03D1"},
      {u"&#X41;&#x6a;&#65abc;&#x41g;", u"AjAA"},
      {u"&#128190;&#x10FFFF;", u"\U0001F4BE\U0010FFFF"},
      {u"&#0;&#;&#x;&#xg1;&#-5;", u"&#0;&#;&#x;&#xg1;&#-5;"},
      {u"&abcdefghij;&abcdefghi;&#000000065;", u"&abcdefghij;&abcdefghi;&#000000065;"},
      {u"&#00000065;", u"A"},
      {u"&;&amp&am&amp;&&amp;;", u"&;&amp&am&&&;"},
      {u"&\u00E9;&am\u00E9p;", u"&\u00E9;&am\u00E9p;"},
      {u"no references at all", u"no references at all"},
      {u"", u""},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(std::string(c.text.begin(), c.text.end()));
    EXPECT_EQ(Decode(c.text), c.decoded);
  }
}

// Numbers a UTF-16 text cannot carry as one character stay as written.
TEST(XmlReferences, LeavesSurrogatesAndNumbersBeyondUnicodeUndecoded) {
  for (const std::u16string text : {u"&#xD800;", u"&#xDFFF;", u"&#55296;", u"&#57343;",
                                    u"&#x110000;", u"&#1114112;", u"&#99999999;", u"&#xFFFFFFF;"}) {
    SCOPED_TRACE(std::string(text.begin(), text.end()));
    EXPECT_EQ(Decode(text), text);
  }
  EXPECT_EQ(Decode(u"&#xD7FF;&#xE000;&#1114111;"), u"\uD7FF\uE000\U0010FFFF");
}

// The table is data written out by hand once; check it as a whole.
TEST(XmlNamedReferences, HoldsEveryHtmlNameInItsBucket) {
  std::multimap<std::string, std::uint32_t> entries;
  std::size_t emptyBuckets = 0;
  std::uint32_t largest = 0;
  for (std::size_t bucket = 0; bucket < kNamedReferenceBuckets; ++bucket) {
    const std::string_view packed = NamedReferenceBucket(bucket);
    emptyBuckets += packed.empty() ? 1 : 0;
    std::size_t at = 0;
    while (at < packed.size()) {
      ASSERT_LE(at + 5, packed.size()) << "bucket " << bucket;
      const std::size_t length = static_cast<std::size_t>(packed[at] - '0');
      const std::uint32_t codePoint =
          static_cast<std::uint32_t>(std::stoul(std::string(packed.substr(at + 1, 4))));
      const std::string name(packed.substr(at + 5, length));
      ASSERT_EQ(name.size(), length) << "bucket " << bucket;
      EXPECT_EQ(NamedReferenceKey(name), bucket) << name;
      entries.emplace(name, codePoint);
      largest = std::max(largest, codePoint);
      at += 5 + length;
    }
  }
  EXPECT_EQ(entries.size(), 253u);
  EXPECT_EQ(emptyBuckets, 37u);
  EXPECT_EQ(largest, 9830u);
  std::size_t pairs = 0;
  for (auto it = entries.begin(); it != entries.end(); it = entries.upper_bound(it->first)) {
    pairs += entries.count(it->first) == 2 ? 1 : 0;
  }
  EXPECT_EQ(pairs, 64u);
  EXPECT_EQ(NamedReferenceBucket(0), "60216oslash60217ugrave60248oslash60249ugrave");
  EXPECT_EQ(NamedReferenceBucket(NamedReferenceKey("amp")), "30038amp30174reg");
}

TEST(XmlNamedReferences, PicksTheCapitalOrSmallFormOfAPair) {
  EXPECT_EQ(LookupNamedReference("oslash", true), 216u);
  EXPECT_EQ(LookupNamedReference("oslash", false), 248u);
  EXPECT_EQ(LookupNamedReference("omega", true), 937u);
  EXPECT_EQ(LookupNamedReference("omega", false), 969u);
  EXPECT_EQ(LookupNamedReference("reg", true), 174u);
  EXPECT_EQ(LookupNamedReference("reg", false), 174u);
  EXPECT_EQ(LookupNamedReference("regx", false), 0u);
  EXPECT_EQ(LookupNamedReference("", false), 0u);
}

} // namespace
