#include <gtest/gtest.h>

#include "i18n/fill_texts.h"

using namespace corvesta;

TEST(FillTexts, TextsFillPlaceholdersInOrder) {
  struct Case {
    std::u16string_view pattern;
    std::initializer_list<std::u16string_view> texts;
    std::u16string_view expected;
  };
  const Case cases[] = {
      {u"Welcome %s", {u"admin"}, u"Welcome admin"},
      {u"Welcome %s, do you want to go to wizard to setup your %s?",
       {u"anna", u"KS-310"},
       u"Welcome anna, do you want to go to wizard to setup your KS-310?"},
      {u"Maske: %s", {u"255.255.255.0"}, u"Maske: 255.255.255.0"},
      // A text that itself holds a placeholder is not filled again.
      {u"%s and %s", {u"%s", u"b"}, u"%s and b"},
      {u"100%% of %s", {u"x"}, u"100% of x"},
  };
  for (const Case &c : cases) {
    EXPECT_EQ(FillTexts(c.pattern, c.texts), c.expected)
        << std::string(c.pattern.begin(), c.pattern.end());
  }
}

TEST(FillTexts, PlaceholdersWithoutTextsAndOtherSignsStayAsWritten) {
  EXPECT_EQ(FillTexts(u"%s and %s", {u"one"}), u"one and %s");
  EXPECT_EQ(FillTexts(u"%d at 5%", {u"x"}), u"%d at 5%");
  EXPECT_EQ(FillTexts(u"ends in %", {}), u"ends in %");
}
