// The program's own texts: complete in every language, never in the way of
// a built-in text, and found by Translate after the built-in table.
#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>

#include "i18n/current_language.h"
#include "i18n/language_classes.h"
#include "i18n/own_texts.h"
#include "i18n/translate.h"
#include "platform/text_codec.h"
#include "text_directives.h"

using namespace corvesta;

namespace {

std::string Utf8(std::u16string_view text) {
  return Utf16ToUtf8(text);
}

struct Translated {
  LanguageId id;
  std::u16string_view OwnText::*column;
};
constexpr Translated kTranslated[] = {
    {LanguageId::kFrench, &OwnText::french},
    {LanguageId::kGerman, &OwnText::german},
    {LanguageId::kSpanish, &OwnText::spanish},
    {LanguageId::kRussian, &OwnText::russian},
};

// Words that a language writes as English does: the only translations that
// may equal their key.
bool SameAsEnglish(LanguageId id, std::u16string_view english) {
  return id == LanguageId::kSpanish && english == kNoText;
}

std::unique_ptr<CLanguageBase> Make(LanguageId id) {
  switch (id) {
  case LanguageId::kFrench:
    return std::make_unique<CLanguageFre>();
  case LanguageId::kGerman:
    return std::make_unique<CLanguageGer>();
  case LanguageId::kSpanish:
    return std::make_unique<CLanguageSpa>();
  case LanguageId::kRussian:
    return std::make_unique<CLanguageRus>();
  case LanguageId::kEnglish:
    break;
  }
  return std::make_unique<CLanguageEng>();
}

TEST(OwnTexts, EveryTextIsWrittenInEveryLanguage) {
  std::set<std::u16string_view> keys;
  for (const OwnText &text : OwnTexts()) {
    SCOPED_TRACE(Utf8(text.english));
    EXPECT_TRUE(keys.insert(text.english).second) << "written twice";
    for (const Translated &language : kTranslated) {
      const std::u16string_view translation = text.*language.column;
      SCOPED_TRACE(Utf8(translation));
      ASSERT_FALSE(translation.empty());
      if (!SameAsEnglish(language.id, text.english)) {
        EXPECT_NE(translation, text.english) << "left in English";
      }
      EXPECT_EQ(translation.find_first_of(u"\r\n\t|\uFFFD"), std::u16string_view::npos);
      EXPECT_NE(translation.front(), u' ');
      EXPECT_NE(translation.back(), u' ');
      EXPECT_EQ(test::Directives(translation), test::Directives(text.english));
    }
  }
}

// An own text that a built-in table also held would never be reached in
// that language, and the two could drift apart.
TEST(OwnTexts, NoneIsAKeyOfABuiltInTable) {
  for (LanguageId id : {LanguageId::kEnglish, LanguageId::kFrench, LanguageId::kGerman,
                        LanguageId::kSpanish, LanguageId::kRussian}) {
    const auto language = Make(id);
    for (const OwnText &text : OwnTexts()) {
      EXPECT_FALSE(language->Find(text.english).has_value())
          << Utf8(language->Name()) << ": " << Utf8(text.english);
    }
  }
}

class OwnTextLookup : public testing::Test {
protected:
  void SetUp() override { ClearCurrentLanguage(); }
  void TearDown() override { ClearCurrentLanguage(); }
};

TEST_F(OwnTextLookup, TranslateLooksInTheOwnTextsAfterTheBuiltInTable) {
  struct Case {
    int index;
    std::u16string_view ownText;
    std::u16string_view builtIn; // "Cancel"
  };
  const Case cases[] = {
      {0, kDisksTooSmallText, u"Cancel"},
      {1, u"Les disques sont trop petits pour ce mode de disque.", u"Annuler"},
      {2, u"Die Festplatten sind für diesen Festplattenmodus zu klein.", u"Abbrechen"},
      {3, u"Los discos son demasiado pequeños para este modo de disco.", u"Cancelar"},
      {4, u"Диски слишком малы для этого режима.", u"Отмена"},
  };
  for (const Case &c : cases) {
    ASSERT_TRUE(SelectLanguage(c.index));
    SCOPED_TRACE(c.index);
    EXPECT_EQ(Translate(kDisksTooSmallText), c.ownText);
    EXPECT_EQ(Translate(u"Cancel"), c.builtIn);
    EXPECT_EQ(Translate(u"In no table at all."), u"In no table at all.");
  }
}

TEST_F(OwnTextLookup, WithoutALanguageOwnTextsStayEnglish) {
  EXPECT_EQ(Translate(kCredentialsTooLongText), kCredentialsTooLongText);
}

TEST(OwnTextsFind, NothingForATextThatIsNotOwn) {
  EXPECT_EQ(FindOwnText(LanguageId::kGerman, u"Cancel"), std::nullopt);
  EXPECT_EQ(FindOwnText(LanguageId::kGerman, u"The disks are too small for this disk mode"),
            std::nullopt);
  EXPECT_EQ(FindOwnText(LanguageId::kEnglish, kFormatStateLostText), kFormatStateLostText);
}

} // namespace
