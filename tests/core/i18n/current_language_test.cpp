// The process-wide language object and the Translate lookup.
#include <gtest/gtest.h>

#include <atomic>
#include <memory>
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

// A language replaced while workers translate: each translation comes from
// the old object or the new one, never from a deleted one.
TEST_F(CurrentLanguageTest, ReplacingTheLanguageWhileOthersTranslate) {
  ASSERT_TRUE(SelectLanguage(1));
  std::atomic<bool> done{false};
  std::vector<std::thread> readers;
  std::vector<int> wrong(3, 0);
  for (std::size_t t = 0; t < wrong.size(); ++t) {
    readers.emplace_back([&, t] {
      while (!done.load()) {
        const std::u16string text = Translate(u"Cancel");
        const bool known = text == u"Cancel" || text == u"Annuler" || text == u"Abbrechen";
        wrong[t] += known ? 0 : 1;
      }
    });
  }
  for (int i = 0; i < 3000; ++i) {
    switch (i % 3) {
    case 0:
      EXPECT_TRUE(SelectLanguage(2));
      break;
    case 1:
      ClearCurrentLanguage();
      break;
    default:
      EXPECT_TRUE(SelectLanguage(1));
      break;
    }
  }
  done.store(true);
  for (std::thread &reader : readers) {
    reader.join();
  }
  EXPECT_EQ(wrong, std::vector<int>(3, 0));
}

TEST_F(CurrentLanguageTest, AReaderKeepsTheObjectItLookedUp) {
  ASSERT_TRUE(SelectLanguage(3));
  const std::shared_ptr<const CLanguageBase> held = CurrentLanguage();
  ASSERT_TRUE(SelectLanguage(4));
  EXPECT_EQ(held->Name(), u"Spanish");
  EXPECT_EQ(held->Lookup(u"Cancel"), u"Cancelar");
  EXPECT_EQ(CurrentLanguage()->Name(), u"Russian");
}
