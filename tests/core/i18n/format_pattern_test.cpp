#include <gtest/gtest.h>

#include "i18n/format_pattern.h"
#include "platform/text_codec.h"

using namespace corvesta;

TEST(FormatPattern, NumbersFillPlaceholdersInOrder) {
  EXPECT_EQ(FormatPattern(u"%dG Used/%dG Available", {12, 931}), u"12G Used/931G Available");
  EXPECT_EQ(FormatPattern(u"%d%%", {50}), u"50%");
  EXPECT_EQ(FormatPattern(u"%u.%u.%u.%u", {192, 168, 1, 10}), u"192.168.1.10");
  EXPECT_EQ(FormatPattern(u"-%d", {-3}), u"--3");
}

TEST(FormatPattern, PlaceholdersWithoutNumbersAndOtherPercentSignsStayAsWritten) {
  EXPECT_EQ(FormatPattern(u"%d and %d", {1}), u"1 and %d");
  EXPECT_EQ(FormatPattern(u"%s at 5%", {}), u"%s at 5%");
  EXPECT_EQ(FormatPattern(u"100 %", {7}), u"100 %");
}

TEST(FillPattern, TextsAndNumbersFillTheirOwnPlaceholders) {
  struct Case {
    std::u16string_view pattern;
    std::u16string_view filled;
  };
  const std::u16string owned = u"box";
  // Each case fills the same values: a text, a number, a text.
  const Case cases[] = {
      {u"%s has %d on %s", u"admin has 3 on box"},
      {u"The %s must not include the following characters:%s.",
       u"The admin must not include the following characters:%s."}, // the 3 is not a text
      {u"%d%%", u"%d%"},                                            // a text comes first
      {u"%s:%s", u"admin:%s"},
      {u"100%% %s", u"100% admin"},
  };
  for (const Case &c : cases) {
    EXPECT_EQ(FillPattern(c.pattern, {u"admin", 3, owned}), c.filled) << Utf16ToUtf8(c.pattern);
  }
}

TEST(FillPattern, FilledTextsAreNotReadAsPatterns) {
  EXPECT_EQ(FillPattern(u"Welcome %s, %d", {u"%d%s%%", 7}), u"Welcome %d%s%%, 7");
}
