// Parsing, sorting and lookup of a table text, on small tables that show
// each rule.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "i18n/language_base.h"
#include "i18n/language_classes.h"

using namespace corvesta;

namespace {

// A language whose table is the text given to it.
class TextLanguage final : public CLanguageBase {
public:
  explicit TextLanguage(std::u16string text, bool noText = false)
      : text_(std::move(text)), noText_(noText) {
    Initialise(u"French", LanguageId::kFrench);
  }

protected:
  bool Load() override {
    return Parse(noText_ ? std::u16string_view{} : std::u16string_view{text_});
  }

private:
  std::u16string text_;
  bool noText_;
};

std::u16string Lookup(const CLanguageBase &language, std::u16string_view key) {
  return std::u16string(language.Lookup(key));
}

TEST(LanguageTable, LooksUpEveryEntryWhateverItsPlaceInTheText) {
  // Keys written in reverse order, with fields of every kind of text around.
  const TextLanguage language(u" junk |zeta||Z|\t\t   |alpha||A|\n|Mid||M| tail");
  EXPECT_EQ(language.Name(), u"French");
  EXPECT_EQ(language.Id(), LanguageId::kFrench);
  ASSERT_EQ(language.EntryCount(), 3u);
  EXPECT_EQ(Lookup(language, u"alpha"), u"A");
  EXPECT_EQ(Lookup(language, u"Mid"), u"M");
  EXPECT_EQ(Lookup(language, u"zeta"), u"Z");
}

TEST(LanguageTable, KeysDifferingOnlyInCaseOrTrailingBlankAreNotFound) {
  const TextLanguage language(u"|Cancel||Annuler||Up||Haut|");
  for (std::u16string_view key : {u"cancel", u"CANCEL", u"Cancel ", u" Cancel", u"Cance", u"up"}) {
    EXPECT_EQ(Lookup(language, key), key);
  }
  EXPECT_EQ(Lookup(language, u"Cancel"), u"Annuler");
}

TEST(LanguageTable, EmptyTranslationMeansTheKeyItself) {
  const TextLanguage language(u"|DHCP||||Static||Statique|");
  EXPECT_EQ(Lookup(language, u"DHCP"), u"DHCP");
  EXPECT_EQ(Lookup(language, u"Static"), u"Statique");
}

TEST(LanguageTable, OddNumberOfFieldsDropsTheWholeTable) {
  // One complete entry and one more bar: two keys, one translation.
  const TextLanguage language(u"|Cancel||Annuler||");
  EXPECT_EQ(language.EntryCount(), 0u);
  EXPECT_EQ(language.Name(), u"English");
  EXPECT_EQ(language.Id(), LanguageId::kEnglish);
  EXPECT_EQ(Lookup(language, u"Cancel"), u"Cancel");
}

TEST(LanguageTable, NoTextLeavesAnEnglishObject) {
  const TextLanguage language(u"|Cancel||Annuler|", /*noText=*/true);
  EXPECT_EQ(language.Name(), u"English");
  EXPECT_EQ(language.Id(), LanguageId::kEnglish);
  EXPECT_EQ(Lookup(language, u"Cancel"), u"Cancel");
}

TEST(LanguageTable, EmptyTextIsAnEmptyTableOfThatLanguage) {
  const TextLanguage language(u"");
  EXPECT_EQ(language.Name(), u"French");
  EXPECT_EQ(Lookup(language, u"Cancel"), u"Cancel");
}

TEST(LanguageTable, UnterminatedLastTranslationRunsToTheEnd) {
  const TextLanguage language(u"|a||b||c||d");
  EXPECT_EQ(Lookup(language, u"a"), u"b");
  EXPECT_EQ(Lookup(language, u"c"), u"d");
}

TEST(LanguageTable, NullKeyGivesEmptyTextAndEmptyKeyIsLookedUpLikeAnyOther) {
  const TextLanguage language(u"|a||b|");
  EXPECT_TRUE(language.Lookup(std::u16string_view{}).empty());
  EXPECT_EQ(Lookup(language, u""), u"");
  const TextLanguage withEmptyKey(u"|||blank||a||b|");
  EXPECT_EQ(Lookup(withEmptyKey, u""), u"blank");
}

// Among equal keys the lookup finds the first one after the selection sort,
// which is not always the first one in the text.
TEST(LanguageTable, DuplicateKeysFindTheFirstAfterSorting) {
  struct Case {
    std::u16string text;
    std::u16string expected;
  };
  const Case cases[] = {
      {u"|b||1||b||2||a||x|", u"2"}, // "a" swaps with the first "b"
      {u"|b||1||a||x||b||2|", u"1"},
      {u"|a||x||b||1||b||2|", u"1"},
  };
  for (const Case &c : cases) {
    const TextLanguage language(c.text);
    EXPECT_EQ(Lookup(language, u"b"), c.expected) << std::string(c.text.begin(), c.text.end());
    EXPECT_EQ(Lookup(language, u"a"), u"x");
  }
}

// Ordinal order of unsigned 16-bit units: upper case before lower case, a
// prefix before its extensions, units above 0x7FFF after all of ASCII.
TEST(LanguageTable, SortsByUnsignedCodeUnitsAndFindsEveryKey) {
  std::vector<std::u16string> keys = {
      u"a",      u"B",      u"ab",         u"Ab", u"a b", u"\u00E9t\u00E9",
      u"\uFF21", u"\u0416", u"\U0001F600", u"Z",  u"~",   u"%d"};
  for (int i = 0; i < 40; ++i) {
    keys.push_back(u"key " + std::u16string(1, static_cast<char16_t>(u'A' + i % 26)) +
                   std::u16string(static_cast<std::size_t>(i / 26 + 1), u'x'));
  }
  std::mt19937 shuffle(7);
  std::shuffle(keys.begin(), keys.end(), shuffle);
  std::u16string text;
  for (std::size_t i = 0; i < keys.size(); ++i) {
    text += u"|" + keys[i] + u"||#" + keys[i] + u"|\t\t   ";
  }
  const TextLanguage language(text);
  ASSERT_EQ(language.EntryCount(), keys.size());
  for (std::size_t i = 1; i < language.EntryCount(); ++i) {
    // char_traits<char16_t> compares unsigned units; the table must agree.
    EXPECT_LT(language.KeyAt(i - 1), language.KeyAt(i)) << i;
  }
  EXPECT_EQ(language.KeyAt(language.EntryCount() - 1), u"\uFF21");
  for (const std::u16string &key : keys) {
    EXPECT_EQ(Lookup(language, key), u"#" + key);
  }
  EXPECT_EQ(Lookup(language, u"\uFF21x"), u"\uFF21x");
  EXPECT_EQ(Lookup(language, u"0"), u"0");
}

TEST(LanguageTable, EnglishObjectTranslatesOnlySnapshot) {
  const CLanguageEng english;
  EXPECT_EQ(english.Name(), u"English");
  EXPECT_EQ(english.Id(), LanguageId::kEnglish);
  ASSERT_EQ(english.EntryCount(), 1u);
  EXPECT_EQ(Lookup(english, u"Snapshot"), u"Snapshot");
  for (std::u16string_view key : {u"Cancel", u"snapshot", u"Snapshot ", u"", u"Welcome %s"}) {
    EXPECT_EQ(Lookup(english, key), key);
  }
}

} // namespace
