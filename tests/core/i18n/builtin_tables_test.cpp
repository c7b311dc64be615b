// The tables built into the program: their size, the rows a user sees
// first, and the rules every entry must keep so that the program can format
// and show the translated texts.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "i18n/language_classes.h"
#include "platform/text_codec.h"
#include "program_keys.h"
#include "text_directives.h"

using namespace corvesta;

namespace {

std::string Utf8(std::u16string_view text) {
  return Utf16ToUtf8(text);
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

constexpr LanguageId kTranslated[] = {LanguageId::kFrench, LanguageId::kGerman,
                                      LanguageId::kSpanish, LanguageId::kRussian};

std::string NameOf(LanguageId id) {
  return Utf8(Make(id)->Name());
}

std::size_t DistinctKeys(const CLanguageBase &language) {
  std::set<std::u16string_view> keys;
  for (std::size_t i = 0; i < language.EntryCount(); ++i) {
    keys.insert(language.KeyAt(i));
  }
  return keys.size();
}

TEST(BuiltInTables, EachLanguageHasItsNameIdAndSize) {
  struct Case {
    LanguageId id;
    std::u16string_view name;
    std::size_t entries;
    std::size_t distinct;
  };
  const Case cases[] = {
      {LanguageId::kEnglish, u"English", 1, 1},     {LanguageId::kFrench, u"French", 214, 212},
      {LanguageId::kGerman, u"German", 214, 212},   {LanguageId::kSpanish, u"Spanish", 214, 212},
      {LanguageId::kRussian, u"Russian", 218, 216},
  };
  for (const Case &c : cases) {
    const auto language = Make(c.id);
    SCOPED_TRACE(Utf8(c.name));
    EXPECT_EQ(language->Name(), c.name);
    EXPECT_EQ(language->Id(), c.id);
    EXPECT_EQ(language->EntryCount(), c.entries);
    EXPECT_EQ(DistinctKeys(*language), c.distinct);
  }
}

TEST(BuiltInTables, TellingRowsAreExact) {
  struct Row {
    std::u16string_view key;
    std::u16string_view fre, ger, spa, rus;
  };
  const Row rows[] = {
      {u"Select NAS", u"Sélectionnez NAS", u"NAS wählen", u"Seleccionar NAS", u"Выбор сет. хран."},
      {u"Login failed.", u"Échec connexion", u"Anmeldung fehlg.", u"Error inic. ses.",
       u"Не удалось войти"},
      {u"Connect", u"Connecter", u"Verbinden", u"Conectar", u"Подключ."},
      {u"Refresh", u"Rafraîchir", u"Aktual.", u"Actualizar.", u"Обновить."},
      {u"Search NAS", u"Rechercher le NAS", u"NAS suchen", u"Buscar NAS", u"Поиск по сет. хран."},
      {u"Wizard", u"Assistant", u"Assistant", u"Asistente", u"Мастер"},
      {u"Folder", u"Dossier", u"Ordner", u"Carpeta", u"Папка"},
      {u"Logout", u"Déconnexion", u"Abmeldung", u"Cerrar sesión", u"Выход"},
      {u"Settings", u"Paramètres", u"Einstellungen", u"Configuración", u"Настройки"},
      {u"Help", u"Aide", u"Hilfe", u"Ayuda", u"Справка"},
      {u"OK", u"OK", u"OK", u"Aceptar", u"ОК"},
      {u"Cancel", u"Annuler", u"Abbrechen", u"Cancelar", u"Отмена"},
      {u"Remember Me", u"Se souvenir de moi", u"Angem. bleiben", u"Recordar cuenta",
       u"Запомнить меня"},
      {u"Welcome %s", u"Bienvenue %s", u"Willkommen %s", u"Bienvenido %s", u"Добро пожаловать %s"},
      {u"Time out, please login again.", u"Expiration, veuillez vous connecter à nouveau.",
       u"Zeitüberschreitung, bitte erneut anmelden.",
       u"Se ha superado el tiempo de espera. Vuelva a iniciar la sesión.",
       u"Время истекло, повторите вход."},
      {u"Never Logout", u"Ne jamais déconnecter", u"Niemals abmelden", u"No cerrar nunca la sesión",
       u"Никогда не выходить"},
      {u" 5 Min", u" 5 Min", u" 5 Min", u" 5 Min", u" 5 мин."},
  };
  const CLanguageFre fre;
  const CLanguageGer ger;
  const CLanguageSpa spa;
  const CLanguageRus rus;
  for (const Row &row : rows) {
    SCOPED_TRACE(Utf8(row.key));
    EXPECT_EQ(Utf8(fre.Lookup(row.key)), Utf8(row.fre));
    EXPECT_EQ(Utf8(ger.Lookup(row.key)), Utf8(row.ger));
    EXPECT_EQ(Utf8(spa.Lookup(row.key)), Utf8(row.spa));
    EXPECT_EQ(Utf8(rus.Lookup(row.key)), Utf8(row.rus));
  }
}

// "format error." and "setting failed." are the only doubled keys, and both
// copies carry the same translation, so it does not matter which one the
// lookup finds.
TEST(BuiltInTables, OnlyTheTwoKnownKeysAreDoubledWithOneTranslation) {
  for (LanguageId id : kTranslated) {
    const auto language = Make(id);
    SCOPED_TRACE(NameOf(id));
    std::map<std::u16string_view, std::vector<std::u16string_view>> byKey;
    for (std::size_t i = 0; i < language->EntryCount(); ++i) {
      byKey[language->KeyAt(i)].push_back(language->TranslationAt(i));
    }
    std::set<std::u16string_view> doubled;
    for (const auto &[key, translations] : byKey) {
      if (translations.size() > 1) {
        doubled.insert(key);
        EXPECT_EQ(translations.size(), 2u) << Utf8(key);
        EXPECT_EQ(translations.front(), translations.back()) << Utf8(key);
      }
    }
    EXPECT_EQ(doubled, (std::set<std::u16string_view>{u"format error.", u"setting failed."}));
  }
}

TEST(BuiltInTables, EveryProgramTextIsTranslatedExceptTheKnownGaps) {
  const std::set<std::u16string_view> gaps(test::kKeysNoTableHolds.begin(),
                                           test::kKeysNoTableHolds.end());
  const std::set<std::u16string_view> idle(test::kIdleTimeKeys.begin(), test::kIdleTimeKeys.end());
  std::vector<std::u16string_view> all(test::kInterfaceKeys.begin(), test::kInterfaceKeys.end());
  all.insert(all.end(), test::kTimeZoneKeys.begin(), test::kTimeZoneKeys.end());

  for (LanguageId id : kTranslated) {
    const auto language = Make(id);
    std::set<std::u16string_view> held;
    for (std::size_t i = 0; i < language->EntryCount(); ++i) {
      held.insert(language->KeyAt(i));
    }
    for (std::u16string_view key : all) {
      const bool expected =
          gaps.count(key) == 0 && (idle.count(key) == 0 || id == LanguageId::kRussian);
      EXPECT_EQ(held.count(key) == 1, expected) << NameOf(id) << ": \"" << Utf8(key) << "\"";
      if (!expected) {
        EXPECT_EQ(language->Lookup(key), key) << NameOf(id) << ": \"" << Utf8(key) << "\"";
      }
    }
    // Besides the program's texts a table holds four texts the program
    // never looks up.
    const std::set<std::u16string_view> used(all.begin(), all.end());
    std::size_t unused = 0;
    for (std::u16string_view key : held) {
      unused += used.count(key) == 0 ? 1 : 0;
    }
    EXPECT_EQ(unused, 4u) << NameOf(id);
  }
}

TEST(BuiltInTables, DirectiveParserSeesWhatPrintfSees) {
  EXPECT_EQ(test::Directives(u"%dG Used/%dG Available"),
            (std::vector<std::u16string>{u"%d", u"%d"}));
  EXPECT_EQ(test::Directives(u"50 %% of %s, %-5u%"),
            (std::vector<std::u16string>{u"%%", u"%s", u"%-5u", u"%"}));
  EXPECT_EQ(test::Directives(u"50 % libre"), (std::vector<std::u16string>{u"% li"}));
}

// The program formats translated texts with the key's arguments: a
// translation with other directives would read the wrong arguments.
TEST(BuiltInTables, EveryTranslationKeepsTheDirectivesOfItsKey) {
  for (LanguageId id : {LanguageId::kEnglish, LanguageId::kFrench, LanguageId::kGerman,
                        LanguageId::kSpanish, LanguageId::kRussian}) {
    const auto language = Make(id);
    for (std::size_t i = 0; i < language->EntryCount(); ++i) {
      const std::u16string_view key = language->KeyAt(i);
      const std::u16string_view translation = language->TranslationAt(i);
      SCOPED_TRACE(NameOf(id) + ": \"" + Utf8(key) + "\" -> \"" + Utf8(translation) + "\"");
      EXPECT_EQ(test::Directives(translation), test::Directives(key));
      EXPECT_EQ(test::Count(translation, u"&&"), test::Count(key, u"&&"));
    }
  }
}

// Each text must arrive as written in the data file: no replacement
// characters from broken UTF-8, no line breaks or tabs from a stray bar, no
// blanks at the ends unless the key has them.
TEST(BuiltInTables, TextsAreCleanSingleLines) {
  for (LanguageId id : kTranslated) {
    const auto language = Make(id);
    for (std::size_t i = 0; i < language->EntryCount(); ++i) {
      const std::u16string_view key = language->KeyAt(i);
      const std::u16string_view translation = language->TranslationAt(i);
      SCOPED_TRACE(NameOf(id) + ": \"" + Utf8(key) + "\" -> \"" + Utf8(translation) + "\"");
      EXPECT_FALSE(translation.empty());
      for (std::u16string_view text : {key, translation}) {
        EXPECT_EQ(text.find_first_of(u"\r\n\t\uFFFD"), std::u16string_view::npos);
      }
      EXPECT_EQ(translation.front() == u' ', key.front() == u' ');
      EXPECT_NE(translation.back(), u' ');
    }
  }
}

} // namespace
