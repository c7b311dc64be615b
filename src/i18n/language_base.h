#pragma once
// A language object: the parsed translation table of one interface language.
//
// A table text is a sequence of entries "|key||translation|"; whatever stands
// between entries is ignored, and a key or translation never holds a vertical
// bar. An empty translation means the key is its own translation. The parsed
// entries are sorted by key (ordinal order of the UTF-16 code units) and
// looked up by binary search.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace corvesta {

enum class LanguageId : std::uint32_t {
  kEnglish = 0,
  kFrench = 1,
  kGerman = 2,
  kSpanish = 3,
  kRussian = 4,
};

inline constexpr std::u16string_view kEnglishLanguageName = u"English";

class CLanguageBase {
public:
  CLanguageBase() = default;
  // Language objects are owned and deleted through this base.
  virtual ~CLanguageBase();

  CLanguageBase(const CLanguageBase &) = delete;
  CLanguageBase &operator=(const CLanguageBase &) = delete;

  // "English", "French", "German", "Spanish" or "Russian". A language whose
  // table could not be loaded reports "English".
  std::u16string_view Name() const { return name_; }
  LanguageId Id() const { return id_; }

  // The translation of `key`, or `key` itself when the table lacks it. The
  // view points into this object's table or into `key`; no allocation.
  std::u16string_view Lookup(std::u16string_view key) const;

  // The translation of `key` when the table holds it, else nothing.
  std::optional<std::u16string_view> Find(std::u16string_view key) const;

  // The parsed entries in sorted order (for inspection).
  std::size_t EntryCount() const { return keys_.size(); }
  std::u16string_view KeyAt(std::size_t index) const { return keys_.at(index); }
  std::u16string_view TranslationAt(std::size_t index) const { return translations_.at(index); }

protected:
  // Builds the language's table text and parses it.
  virtual bool Load() = 0;

  // Runs Load; on success the object takes the language's name and id, on
  // failure it stays "English" with an empty table. Called by the
  // constructors of the derived classes.
  void Initialise(std::u16string_view name, LanguageId id);

  // Parses a table text into this object's own copy. A view without data
  // (no text) fails. A text with more keys than translations or the reverse
  // (an odd number of fields) is dropped whole: the table is left empty, the
  // name becomes "English" and the parse fails.
  bool Parse(std::u16string_view text);

private:
  void Clear();
  void SortByKey();

  std::vector<std::u16string_view> keys_;
  std::vector<std::u16string_view> translations_;
  std::u16string name_{kEnglishLanguageName};
  LanguageId id_ = LanguageId::kEnglish;
  std::u16string buffer_;
};

} // namespace corvesta
