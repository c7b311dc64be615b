#include "i18n/language_base.h"

#include <utility>

namespace corvesta {

CLanguageBase::~CLanguageBase() {
  Clear();
}

void CLanguageBase::Clear() {
  keys_.clear();
  translations_.clear();
  buffer_.clear();
  buffer_.shrink_to_fit();
  name_ = kEnglishLanguageName;
}

void CLanguageBase::Initialise(std::u16string_view name, LanguageId id) {
  if (Load()) {
    name_ = name;
    id_ = id;
  } else {
    Clear();
    id_ = LanguageId::kEnglish;
  }
}

bool CLanguageBase::Parse(std::u16string_view text) {
  if (text.data() == nullptr) {
    return false;
  }
  Clear();
  buffer_.assign(text);

  // Every vertical bar becomes a terminating zero; a field opens after one bar
  // and closes at the next. A field still open at the end runs to the end.
  enum class Field { kKey, kTranslation };
  Field expecting = Field::kKey;
  bool open = false;
  std::size_t fieldStart = 0;
  const std::u16string_view all{buffer_};
  for (std::size_t i = 0; i < buffer_.size(); ++i) {
    if (buffer_[i] != u'|') {
      continue;
    }
    buffer_[i] = u'\0';
    if (!open) {
      fieldStart = i + 1;
      (expecting == Field::kKey ? keys_ : translations_).push_back(all.substr(fieldStart, 0));
      open = true;
    } else {
      auto &fields = expecting == Field::kKey ? keys_ : translations_;
      fields.back() = all.substr(fieldStart, i - fieldStart);
      expecting = expecting == Field::kKey ? Field::kTranslation : Field::kKey;
      open = false;
    }
  }
  if (open) {
    auto &fields = expecting == Field::kKey ? keys_ : translations_;
    fields.back() = all.substr(fieldStart);
  }

  if (keys_.size() != translations_.size()) {
    Clear();
    return false;
  }
  for (std::size_t i = 0; i < keys_.size(); ++i) {
    if (translations_[i].empty()) {
      translations_[i] = keys_[i];
    }
  }
  SortByKey();
  return true;
}

// Selection sort: for each position the first of the smallest remaining keys
// moves there with its translation. About 220 entries, sorted once.
void CLanguageBase::SortByKey() {
  if (keys_.size() < 2) {
    return;
  }
  for (std::size_t i = 0; i + 1 < keys_.size(); ++i) {
    std::size_t smallest = i;
    for (std::size_t j = i + 1; j < keys_.size(); ++j) {
      if (keys_[j].compare(keys_[smallest]) < 0) {
        smallest = j;
      }
    }
    if (smallest != i) {
      std::swap(keys_[i], keys_[smallest]);
      std::swap(translations_[i], translations_[smallest]);
    }
  }
}

std::u16string_view CLanguageBase::Lookup(std::u16string_view key) const {
  if (key.data() == nullptr) {
    return {};
  }
  return Find(key).value_or(key);
}

std::optional<std::u16string_view> CLanguageBase::Find(std::u16string_view key) const {
  if (key.data() == nullptr || keys_.empty()) {
    return std::nullopt;
  }
  // The first key not less than the query.
  std::size_t low = 0;
  std::size_t high = keys_.size() - 1;
  while (low != high) {
    const std::size_t mid = (low + high) / 2;
    if (keys_[mid].compare(key) < 0) {
      low = mid + 1;
    } else {
      high = mid;
    }
  }
  if (keys_[low] != key) {
    return std::nullopt;
  }
  return translations_[low];
}

} // namespace corvesta
