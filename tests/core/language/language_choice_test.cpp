// The interface language chosen from the settings file at start-up.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "app/language_choice.h"
#include "app/settings_keys.h"
#include "app/settings_store.h"
#include "i18n/current_language.h"
#include "i18n/translate.h"
#include "support/temp_folder.h"

using namespace corvesta;

namespace {

class LanguageChoice : public testing::Test {
protected:
  void SetUp() override { ClearCurrentLanguage(); }
  void TearDown() override { ClearCurrentLanguage(); }

  test::ScopedAppDataFolder appData;
};

TEST_F(LanguageChoice, CodeSelectsTheLanguage) {
  struct Case {
    std::u16string_view code;
    std::u16string_view name;
    LanguageId id;
  };
  const Case cases[] = {
      {u"FRE", u"French", LanguageId::kFrench},    {u"GER", u"German", LanguageId::kGerman},
      {u"SPA", u"Spanish", LanguageId::kSpanish},  {u"RUS", u"Russian", LanguageId::kRussian},
      {u"ENG", u"English", LanguageId::kEnglish},  {u"fre", u"English", LanguageId::kEnglish},
      {u"Fre", u"English", LanguageId::kEnglish},  {u"FRE ", u"English", LanguageId::kEnglish},
      {u" GER", u"English", LanguageId::kEnglish}, {u"FRENCH", u"English", LanguageId::kEnglish},
      {u"1", u"English", LanguageId::kEnglish},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(std::string(c.code.begin(), c.code.end()));
    ClearCurrentLanguage();
    ASSERT_TRUE(settings::Write(settings::kSectionLanguage, settings::kKeyLanguage, c.code));
    EXPECT_TRUE(ChooseLanguageFromSettings());
    ASSERT_NE(CurrentLanguage(), nullptr);
    EXPECT_EQ(CurrentLanguage()->Name(), c.name);
    EXPECT_EQ(CurrentLanguage()->Id(), c.id);
  }
}

TEST_F(LanguageChoice, LowerCaseCodeShowsEnglishNotFrench) {
  ASSERT_TRUE(settings::Write(settings::kSectionLanguage, settings::kKeyLanguage, u"fre"));
  ChooseLanguageFromSettings();
  EXPECT_EQ(Translate(u"Cancel"), u"Cancel");
  EXPECT_EQ(Translate(u"Snapshot"), u"Snapshot");
}

TEST_F(LanguageChoice, SectionAndKeyNamesMatchWhateverTheirCase) {
  const auto file = appData.SettingsFile();
  std::filesystem::create_directories(file.parent_path());
  std::ofstream(file) << "[LANGUAGE]\nlanguage=SPA\n";
  EXPECT_TRUE(ChooseLanguageFromSettings());
  ASSERT_NE(CurrentLanguage(), nullptr);
  EXPECT_EQ(CurrentLanguage()->Name(), u"Spanish");
}

TEST_F(LanguageChoice, EmptyValueLeavesNoLanguage) {
  ASSERT_TRUE(settings::WriteEmpty(settings::kSectionLanguage, settings::kKeyLanguage));
  EXPECT_FALSE(ChooseLanguageFromSettings());
  EXPECT_EQ(CurrentLanguage(), nullptr);
  EXPECT_EQ(Translate(u"Cancel"), u"Cancel");
}

TEST_F(LanguageChoice, MissingKeyLeavesNoLanguage) {
  ASSERT_TRUE(settings::Write(settings::kSectionCurrent, settings::kKeyServName, u"NAS1"));
  EXPECT_FALSE(ChooseLanguageFromSettings());
  EXPECT_EQ(CurrentLanguage(), nullptr);
}

TEST_F(LanguageChoice, MissingFileLeavesNoLanguageAndWritesNothing) {
  const auto file = appData.SettingsFile();
  ASSERT_FALSE(std::filesystem::exists(file));
  EXPECT_FALSE(ChooseLanguageFromSettings());
  EXPECT_EQ(CurrentLanguage(), nullptr);
  EXPECT_FALSE(std::filesystem::exists(file));
  // The first access makes the settings folder.
  EXPECT_TRUE(std::filesystem::is_directory(file.parent_path()));
}

} // namespace
