// The rules that keep what is sent to a box sound: texts a box can store
// and carry back, a description that cannot add fields to its request,
// addresses a box can work with, and the message after a lost answer.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "i18n/current_language.h"
#include "i18n/own_texts.h"
#include "nas/nas_device.h"
#include "platform/text_codec.h"
#include "setup/address_change_plan.h"
#include "setup/address_entry.h"
#include "setup/box_text_rules.h"
#include "setup/change_failure.h"
#include "setup/identity_rules.h"
#include "worker/private_messages.h"

namespace corvesta {
namespace {

std::string Fill(std::u16string_view pattern, std::u16string_view word) {
  std::string text = Utf16ToUtf8(pattern);
  return text.replace(text.find("%s"), 2, Utf16ToUtf8(word));
}

const std::string kDescriptionCharacters =
    "The Description must not include the following characters:&=.";

TEST(IdentityCheck, RefusesWhatTheBoxCouldNotTakeOrGiveBack) {
  struct Case {
    const char *label;
    std::string_view name, workgroup, description;
    std::optional<std::string> problem;
  };
  const Case cases[] = {
      {"plain", "store1", "HOME", "Attic box", std::nullopt},
      {"three-byte characters pass", "\xe6\x97\xa5\xe6\x9c\xac", "B\xc3\xbcro", "caf\xc3\xa9",
       std::nullopt},
      {"name-list characters are fine in a description", "store1", "HOME", "a*b (c) #1!",
       std::nullopt},
      {"empty workgroup and description", "store1", "", "", std::nullopt},
      {"empty name", "", "HOME", "d", Utf16ToUtf8(kEmptyNameText)},
      {"an ampersand would add a field", "store1", "HOME", "x&hostname=EVIL",
       kDescriptionCharacters},
      {"an equals sign", "store1", "HOME", "a=b", kDescriptionCharacters},
      {"a four-byte character in the description", "store1", "HOME", "photos \xf0\x9f\x93\x81",
       Fill(kUnsupportedCharactersText, kDescriptionWord)},
      {"a four-byte character in the name", "x\xf0\x9f\x98\x80", "HOME", "",
       Fill(kUnsupportedCharactersText, kNameWord)},
      {"a tab in the name", "a\tb", "HOME", "", Fill(kUnsupportedCharactersText, kNameWord)},
      {"a line break in the description", "store1", "HOME", "one\ntwo",
       Fill(kUnsupportedCharactersText, kDescriptionWord)},
      {"DEL in the workgroup", "store1", "HO\x7fME", "",
       Fill(kUnsupportedCharactersText, kWorkgroupWord)},
      {"a C1 control in the workgroup", "store1", "HO\xc2\x85ME", "",
       Fill(kUnsupportedCharactersText, kWorkgroupWord)},
      {"Latin-1 bytes in the workgroup", "store1", "B\xfcro", "",
       Fill(kInvalidTextText, kWorkgroupWord)},
      {"a cut sequence in the description", "store1", "HOME", "caf\xc3",
       Fill(kInvalidTextText, kDescriptionWord)},
      {"an encoded surrogate", "a\xed\xa0\x80", "HOME", "", Fill(kInvalidTextText, kNameWord)},
      {"the name's own list still applies", "a#b", "c*d", "",
       "The Workgroup must not include the following characters:*+=|/\\:';<>?,\"$%&[]{}#@!~()^.."},
      {"the fields' widths still apply", "ABCDEFGHIJKLMNOP", "HOME", "",
       Utf16ToUtf8(kIdentityTooLongText)},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.label);
    const auto problem = CheckIdentity(c.name, c.workgroup, c.description);
    EXPECT_EQ(problem ? std::optional(Utf16ToUtf8(*problem)) : std::nullopt, c.problem);
  }
}

TEST(IdentityCheck, TheDescriptionRuleNamesItsCharactersInTheNamesStyle) {
  EXPECT_EQ(CheckDescription(u"first floor"), std::nullopt);
  EXPECT_EQ(Utf16ToUtf8(CheckDescription(u"x&y").value_or(u"")), kDescriptionCharacters);
}

// A window holds UTF-16: a lone surrogate is no text, a pair is a character
// beyond three UTF-8 bytes.
TEST(BoxText, WindowTextsAreHeldToTheSameRule) {
  struct Case {
    const char *label;
    std::u16string text;
    std::optional<std::u16string_view> pattern;
  };
  const Case cases[] = {
      {"plain", u"Attic box \u65e5\u672c", std::nullopt},
      {"empty", u"", std::nullopt},
      {"a surrogate pair", u"x\U0001F4C1", kUnsupportedCharactersText},
      {"a lone high surrogate", std::u16string(u"x") + char16_t(0xD83D), kInvalidTextText},
      {"a lone low surrogate", std::u16string(1, char16_t(0xDCC1)) + u"x", kInvalidTextText},
      {"a carriage return", u"a\rb", kUnsupportedCharactersText},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.label);
    const auto problem = CheckBoxText(kDescriptionWord, std::u16string_view(c.text));
    if (!c.pattern) {
      EXPECT_EQ(problem, std::nullopt);
    } else {
      EXPECT_EQ(Utf16ToUtf8(problem.value_or(u"")), Fill(*c.pattern, kDescriptionWord));
    }
  }
}

TEST(BoxText, TheMessagesAreTranslated) {
  ASSERT_TRUE(SelectLanguage(1));
  const auto empty = CheckIdentity("", "HOME", "");
  const auto emoji = CheckIdentity("store1", "HOME", "\xf0\x9f\x93\x81");
  ClearCurrentLanguage();
  EXPECT_EQ(Utf16ToUtf8(empty.value_or(u"")), "Saisissez un nom pour le NAS.");
  ASSERT_TRUE(emoji.has_value());
  EXPECT_EQ(emoji->rfind(u"Le champ Description ne doit pas contenir", 0), 0u)
      << Utf16ToUtf8(*emoji);
}

TEST(StaticAddressUse, MasksAndGatewaysTheBoxCannotUseAreRefused) {
  struct Case {
    std::string_view ip, mask, gateway;
    std::optional<std::u16string_view> problem;
  };
  const Case cases[] = {
      {"192.168.1.20", "255.255.255.0", "192.168.1.1", std::nullopt},
      {"192.168.1.20", "255.255.255.252", "192.168.1.21", std::nullopt},
      {"192.168.1.20", "255.255.255.0", "", std::nullopt},
      {"192.168.1.20", "255.255.255.254", "192.168.1.21", kMaskTooNarrowText},
      {"192.168.1.20", "255.255.255.255", "", kMaskTooNarrowText},
      {"192.168.1.20", "255.255.255.0", "192.168.1.20", kGatewayIsBoxAddressText},
      {"10.0.0.5", "255.0.0.0", "10.0.0.5", kGatewayIsBoxAddressText},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(std::string(c.ip) + " " + std::string(c.mask) + " " + std::string(c.gateway));
    EXPECT_EQ(CheckStaticAddressUse(c.ip, c.mask, c.gateway), c.problem);
  }
}

TEST(StaticAddressUse, TheSetIpPlanRefusesThemWithAnErrorCaption) {
  NasDevice box;
  CopyToField(box.ip, sizeof box.ip, "169.254.37.12");
  CopyToField(box.netmask, sizeof box.netmask, "255.255.0.0");
  CopyToField(box.dhcp, sizeof box.dhcp, "1");
  AddressChoice narrow{false, "192.168.1.20", "255.255.255.255", ""};
  AddressPlan plan = PlanAddressChange(box, narrow);
  EXPECT_EQ(plan.result, AddressPlanResult::Refused);
  EXPECT_EQ(plan.message, kMaskTooNarrowText);
  EXPECT_EQ(plan.caption, kAddressErrorCaption);

  AddressChoice selfGateway{false, "192.168.1.20", "255.255.255.0", "192.168.1.20"};
  plan = PlanAddressChange(box, selfGateway);
  EXPECT_EQ(plan.result, AddressPlanResult::Refused);
  EXPECT_EQ(plan.message, kGatewayIsBoxAddressText);

  // DHCP takes the box's own values, unchecked, as before.
  CopyToField(box.dhcp, sizeof box.dhcp, "0");
  AddressChoice dhcp{true, "", "", ""};
  EXPECT_EQ(PlanAddressChange(box, dhcp).result, AddressPlanResult::Send);
}

TEST(ChangeFailure, OnlyALostAnswerSaysTheChangeMayHaveBeenMade) {
  EXPECT_EQ(ChangeFailureText(kResultReplyLost, u"setting failed."), kChangeMayHaveBeenMadeText);
  EXPECT_EQ(ChangeFailureText(kResultFailure, u"setting failed."), u"setting failed.");
  EXPECT_EQ(ChangeFailureText(kResultFailure, u"password error."), u"password error.");
}

} // namespace
} // namespace corvesta
