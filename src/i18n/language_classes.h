#pragma once
// The five interface languages. Each loads its built-in table when
// constructed; a table that does not parse leaves an object that reports
// "English" and returns every key unchanged.

#include <string>

#include "i18n/language_base.h"

namespace corvesta {

class CLanguageEng final : public CLanguageBase {
public:
  CLanguageEng();

protected:
  bool Load() override;
};

// The French, German, Spanish and Russian objects keep the joined table text:
// the language's two built-in texts, the second directly after the first.
class CLanguageBuiltIn : public CLanguageBase {
protected:
  explicit CLanguageBuiltIn(LanguageId id) : tableId_(id) {}
  bool Load() override;

private:
  LanguageId tableId_;
  std::u16string joined_;
};

class CLanguageFre final : public CLanguageBuiltIn {
public:
  CLanguageFre();
};

class CLanguageGer final : public CLanguageBuiltIn {
public:
  CLanguageGer();
};

class CLanguageSpa final : public CLanguageBuiltIn {
public:
  CLanguageSpa();
};

class CLanguageRus final : public CLanguageBuiltIn {
public:
  CLanguageRus();
};

} // namespace corvesta
