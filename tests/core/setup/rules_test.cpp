// The checks made before a new password, device name, workgroup or
// description is sent, and the time zones a box can be given.
#include <gtest/gtest.h>

#include "i18n/current_language.h"
#include "i18n/language_classes.h"
#include "i18n/own_texts.h"
#include "platform/text_codec.h"
#include "setup/identity_rules.h"
#include "setup/password_rules.h"
#include "setup/time_zone_table.h"

namespace corvesta {
namespace {

TEST(PasswordRule, MismatchFirstThenLengthAndContent) {
  struct Case {
    std::u16string_view password;
    std::u16string_view confirmation;
    std::optional<std::u16string_view> problem;
  };
  const Case cases[] = {
      {u"abcd1234", u"abcd1234", std::nullopt},
      {u"ABCDEFGHijklmn16", u"ABCDEFGHijklmn16", std::nullopt},
      {u"abc1234", u"abc1234", kPasswordRuleText},
      {u"ABCDEFGHijklmn167", u"ABCDEFGHijklmn167", kPasswordRuleText},
      {u"abc", u"abd", kPasswordMismatchText}, // the mismatch is reported first
      {u"Abcd1234", u"abcd1234", kPasswordMismatchText},
      {u"abcd_1234", u"abcd_1234", kPasswordRuleText},
      {u"abcd 1234", u"abcd 1234", kPasswordRuleText},
      {u"abcdé1234", u"abcdé1234", kPasswordRuleText},
      {u"", u"", kPasswordRuleText},
  };
  for (const Case &c : cases) {
    EXPECT_EQ(CheckNewPassword(c.password, c.confirmation), c.problem) << Utf16ToUtf8(c.password);
  }
}

TEST(IdentityRule, ForbiddenCharactersAreLookedForInListOrder) {
  const std::u16string list = u"*+=|/\\:';<>?,\"$%&[]{}#@!~()^.";
  // The list is filled in whole and the pattern's full stop follows it.
  const std::u16string workgroup =
      u"The Workgroup must not include the following characters:" + list + u".";
  const std::u16string name = u"The Name must not include the following characters:" + list + u".";
  struct Case {
    std::u16string_view name;
    std::u16string_view workgroup;
    std::optional<std::u16string> problem;
  };
  const Case cases[] = {
      {u"my#box", u"work*group", workgroup}, // "*" comes before "#"
      {u"my*box", u"work*group", name},
      {u"my.box", u"group", name},
      {u"box", u"50%", workgroup},
      {u"KS-310_a", u"WORK GROUP", std::nullopt},
      {u"Bureau-é", u"Gruppe", std::nullopt},
  };
  for (const Case &c : cases) {
    EXPECT_EQ(CheckNameAndWorkgroup(c.name, c.workgroup), c.problem)
        << Utf16ToUtf8(c.name) << " / " << Utf16ToUtf8(c.workgroup);
  }
}

TEST(IdentityRule, TheMessageIsTranslatedWithTheTranslatedWord) {
  ASSERT_TRUE(SelectLanguage(1));
  const CLanguageFre french;
  const std::u16string pattern(french.Lookup(kForbiddenCharactersText));
  ASSERT_NE(pattern, kForbiddenCharactersText);
  const std::u16string word(french.Lookup(kWorkgroupWord));
  const auto problem = CheckNameAndWorkgroup(u"box", u"a+b");
  ClearCurrentLanguage();
  ASSERT_TRUE(problem.has_value());
  EXPECT_NE(problem->find(word), std::u16string::npos) << Utf16ToUtf8(*problem);
  EXPECT_NE(problem->find(kForbiddenNameCharacters), std::u16string::npos);
  EXPECT_EQ(problem->find(u"%s"), std::u16string::npos);
}

TEST(IdentityRule, TextsMustFitTheirFieldsInBytes) {
  struct Case {
    std::string_view name, workgroup, description;
    bool fits;
  };
  const std::string fifteen(15, 'n');
  const std::string thirty(30, 'd');
  const Case cases[] = {
      {fifteen, fifteen, thirty, true},
      {fifteen + "n", "", "", false},
      {"", fifteen + "w", "", false},
      {"", "", thirty + "d", false},
      // Eight two-byte letters are 16 bytes: one too many.
      {"éééééééé", "", "", false},
      {"ééééééé", "", "", true},
  };
  for (const Case &c : cases) {
    const auto problem = CheckIdentityFits(c.name, c.workgroup, c.description);
    EXPECT_EQ(!problem.has_value(), c.fits) << c.name << " / " << c.workgroup;
    if (problem) {
      EXPECT_EQ(*problem, kIdentityTooLongText);
    }
  }
}

TEST(TimeZones, TheBoxValueIsThePositionInTheList) {
  struct Case {
    int value;
    std::string_view offset;
    std::u16string_view location;
  };
  const Case cases[] = {
      {1, "GMT-12:00", u"International Data Line West"},
      {34, "GMT 00:00", u"Casablanca"},
      {37, "GMT+01:00", u"West Central Africa"},
      {96, "GMT+13:00", u"Nuku'alofa"},
  };
  for (const Case &c : cases) {
    const auto zone = TimeZoneForValue(c.value);
    ASSERT_TRUE(zone.has_value()) << c.value;
    EXPECT_EQ(zone->offset, c.offset);
    EXPECT_EQ(zone->location, c.location);
  }
  for (int outside : {0, 97, -1, 1000}) {
    EXPECT_FALSE(TimeZoneForValue(outside).has_value()) << outside;
  }
}

// A location written differently from the tables' key would be shown in
// English in every language.
TEST(TimeZones, EveryLocationIsTranslated) {
  const CLanguageFre french;
  const CLanguageGer german;
  const CLanguageSpa spanish;
  const CLanguageRus russian;
  for (const TimeZoneEntry &zone : kTimeZones) {
    for (const CLanguageBase *language :
         std::initializer_list<const CLanguageBase *>{&french, &german, &spanish, &russian}) {
      EXPECT_TRUE(language->Find(zone.location).has_value())
          << Utf16ToUtf8(language->Name()) << ": " << Utf16ToUtf8(zone.location);
    }
  }
}

} // namespace
} // namespace corvesta
