#include "i18n/current_language.h"

#include <new>

#include "i18n/language_classes.h"
#include "worker/guarded_value.h"

namespace corvesta {
namespace {

using LanguagePtr = std::shared_ptr<const CLanguageBase>;

// Replaced on the user-interface thread; read from any thread.
GuardedValue<LanguagePtr> &Current() {
  static GuardedValue<LanguagePtr> current;
  return current;
}

CLanguageBase *NewLanguage(int index) {
  switch (index) {
  case 0:
    return new (std::nothrow) CLanguageEng;
  case 1:
    return new (std::nothrow) CLanguageFre;
  case 2:
    return new (std::nothrow) CLanguageGer;
  case 3:
    return new (std::nothrow) CLanguageSpa;
  case 4:
    return new (std::nothrow) CLanguageRus;
  default:
    return nullptr;
  }
}

// Replaces the current object; the old one is let go of outside the lock.
void Replace(LanguagePtr language) {
  LanguagePtr old = Current().Update([&](LanguagePtr &current) {
    LanguagePtr previous = std::move(current);
    current = std::move(language);
    return previous;
  });
}

} // namespace

std::shared_ptr<const CLanguageBase> CurrentLanguage() {
  return Current().Get();
}

void ClearCurrentLanguage() {
  Replace(nullptr);
}

bool SelectLanguage(int index) {
  ClearCurrentLanguage();
  LanguagePtr language(NewLanguage(index));
  if (!language) {
    return false;
  }
  Replace(std::move(language));
  return true;
}

} // namespace corvesta
