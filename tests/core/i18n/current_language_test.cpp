// The process-wide language object and the Translate lookup.
#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "i18n/current_language.h"
#include "i18n/translate.h"

using namespace corvesta;

namespace {

class CurrentLanguageTest : public testing::Test {
protected:
  void SetUp() override { ClearCurrentLanguage(); }
  void TearDown() override { ClearCurrentLanguage(); }
};

TEST_F(CurrentLanguageTest, WithoutLanguageTextsStayEnglish) {
  ASSERT_EQ(CurrentLanguage(), nullptr);
  EXPECT_EQ(Translate(u"Cancel"), u"Cancel");
  EXPECT_EQ(Translate(u""), u"");
}

TEST_F(CurrentLanguageTest, SelectLanguageCreatesTheObjectOfEachIndex) {
  struct Case {
    int index;
    std::u16string_view name;
    std::u16string_view cancel;
  };
  const Case cases[] = {
      {0, u"English", u"Cancel"},   {1, u"French", u"Annuler"}, {2, u"German", u"Abbrechen"},
      {3, u"Spanish", u"Cancelar"}, {4, u"Russian", u"Отмена"},
  };
  for (const Case &c : cases) {
    ASSERT_TRUE(SelectLanguage(c.index)) << c.index;
    ASSERT_NE(CurrentLanguage(), nullptr);
    EXPECT_EQ(CurrentLanguage()->Name(), c.name);
    EXPECT_EQ(static_cast<int>(CurrentLanguage()->Id()), c.index);
    EXPECT_EQ(Translate(u"Cancel"), c.cancel);
    EXPECT_EQ(Translate(u"Auto Sorting"), u"Auto Sorting");
  }
}

TEST_F(CurrentLanguageTest, AnIndexOutsideTheLanguagesRemovesTheCurrentOne) {
  for (int index : {-1, 5, 1000}) {
    ASSERT_TRUE(SelectLanguage(1));
    EXPECT_FALSE(SelectLanguage(index)) << index;
    EXPECT_EQ(CurrentLanguage(), nullptr);
    EXPECT_EQ(Translate(u"Cancel"), u"Cancel");
  }
}

TEST_F(CurrentLanguageTest, TranslateFillsInAfterTheLookup) {
  ASSERT_TRUE(SelectLanguage(2));
  EXPECT_EQ(Translate(u"Welcome %s"), u"Willkommen %s");
  EXPECT_EQ(Translate(u"Tokyo"), u"Tokyo");
  EXPECT_EQ(Translate(u"Osaka, Sapporo, Tokyo"), u"Osaka, Sapporo, Tokio");
}

// Worker threads translate their messages while the windows translate
// theirs; the table is only read after start-up.
TEST_F(CurrentLanguageTest, TranslatesFromSeveralThreadsAtOnce) {
  ASSERT_TRUE(SelectLanguage(4));
  std::vector<std::jthread> threads;
  std::vector<int> wrong(4, 0);
  for (std::size_t t = 0; t < wrong.size(); ++t) {
    threads.emplace_back([&wrong, t] {
      for (int i = 0; i < 2000; ++i) {
        wrong[t] += Translate(u"Cancel") == u"Отмена" ? 0 : 1;
        wrong[t] += Translate(u"Not in any table") == u"Not in any table" ? 0 : 1;
      }
    });
  }
  for (std::jthread &thread : threads) {
    thread.join();
  }
  EXPECT_EQ(wrong, std::vector<int>(4, 0));
}

} // namespace
