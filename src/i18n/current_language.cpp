#include "i18n/current_language.h"

#include <atomic>
#include <new>

#include "i18n/language_classes.h"

namespace corvesta {
namespace {

// Written on the user-interface thread at start-up and at exit; read from
// any thread in between.
std::atomic<CLanguageBase *> gCurrentLanguage{nullptr};

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

} // namespace

CLanguageBase *CurrentLanguage() {
  return gCurrentLanguage.load(std::memory_order_acquire);
}

void ClearCurrentLanguage() {
  delete gCurrentLanguage.exchange(nullptr, std::memory_order_acq_rel);
}

bool SelectLanguage(int index) {
  ClearCurrentLanguage();
  CLanguageBase *language = NewLanguage(index);
  if (language == nullptr) {
    return false;
  }
  gCurrentLanguage.store(language, std::memory_order_release);
  return true;
}

} // namespace corvesta
