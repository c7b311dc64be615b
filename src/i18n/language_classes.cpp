#include "i18n/language_classes.h"

#include "i18n/builtin_tables.h"
#include "platform/text_codec.h"

namespace corvesta {

CLanguageEng::CLanguageEng() {
  Initialise(u"English", LanguageId::kEnglish);
}

bool CLanguageEng::Load() {
  const std::u16string text = Utf8ToUtf16(BuiltInTableOf(LanguageId::kEnglish).first);
  return Parse(text);
}

bool CLanguageBuiltIn::Load() {
  const BuiltInTable table = BuiltInTableOf(tableId_);
  joined_ = Utf8ToUtf16(table.first);
  joined_ += Utf8ToUtf16(table.second);
  return Parse(joined_);
}

CLanguageFre::CLanguageFre() : CLanguageBuiltIn(LanguageId::kFrench) {
  Initialise(u"French", LanguageId::kFrench);
}

CLanguageGer::CLanguageGer() : CLanguageBuiltIn(LanguageId::kGerman) {
  Initialise(u"German", LanguageId::kGerman);
}

CLanguageSpa::CLanguageSpa() : CLanguageBuiltIn(LanguageId::kSpanish) {
  Initialise(u"Spanish", LanguageId::kSpanish);
}

CLanguageRus::CLanguageRus() : CLanguageBuiltIn(LanguageId::kRussian) {
  Initialise(u"Russian", LanguageId::kRussian);
}

} // namespace corvesta
