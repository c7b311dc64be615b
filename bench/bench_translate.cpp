// Translation lookups and table loading. Lookups run over every key of the
// French table; the baselines are a plain copy of the key (what Translate
// costs with no language in use) and a linear scan of the same table.
// Loading is compared with decoding the table's UTF-8 bytes alone.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "i18n/builtin_tables.h"
#include "i18n/current_language.h"
#include "i18n/language_classes.h"
#include "i18n/translate.h"
#include "platform/text_codec.h"

namespace {

using namespace corvesta;

const CLanguageFre &French() {
  static const CLanguageFre language;
  return language;
}

// Separate copies, so that a lookup never starts from a pointer into the table.
const std::vector<std::u16string> &Keys() {
  static const std::vector<std::u16string> keys = [] {
    std::vector<std::u16string> all;
    for (std::size_t i = 0; i < French().EntryCount(); ++i) {
      all.emplace_back(French().KeyAt(i));
    }
    all.emplace_back(u"A text no table holds");
    return all;
  }();
  return keys;
}

void BM_Baseline_CopyKey(benchmark::State &state) {
  const auto &keys = Keys();
  std::size_t i = 0;
  for (auto _ : state) {
    std::u16string copy(keys[i]);
    benchmark::DoNotOptimize(copy);
    i = (i + 1) % keys.size();
  }
}
BENCHMARK(BM_Baseline_CopyKey);

void BM_Baseline_LinearScan(benchmark::State &state) {
  const auto &keys = Keys();
  const CLanguageFre &language = French();
  std::size_t i = 0;
  for (auto _ : state) {
    std::u16string_view found = keys[i];
    for (std::size_t k = 0; k < language.EntryCount(); ++k) {
      if (language.KeyAt(k) == keys[i]) {
        found = language.TranslationAt(k);
        break;
      }
    }
    benchmark::DoNotOptimize(found);
    i = (i + 1) % keys.size();
  }
}
BENCHMARK(BM_Baseline_LinearScan);

void BM_Lookup(benchmark::State &state) {
  const auto &keys = Keys();
  const CLanguageFre &language = French();
  std::size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(language.Lookup(keys[i]));
    i = (i + 1) % keys.size();
  }
}
BENCHMARK(BM_Lookup);

void BM_Translate(benchmark::State &state) {
  SelectLanguage(1);
  const auto &keys = Keys();
  std::size_t i = 0;
  for (auto _ : state) {
    std::u16string text = Translate(keys[i]);
    benchmark::DoNotOptimize(text);
    i = (i + 1) % keys.size();
  }
  ClearCurrentLanguage();
}
BENCHMARK(BM_Translate);

void BM_Baseline_DecodeRussianTable(benchmark::State &state) {
  const BuiltInTable table = BuiltInTableOf(LanguageId::kRussian);
  for (auto _ : state) {
    std::u16string text = Utf8ToUtf16(table.first) + Utf8ToUtf16(table.second);
    benchmark::DoNotOptimize(text);
  }
}
BENCHMARK(BM_Baseline_DecodeRussianTable);

void BM_LoadRussianTable(benchmark::State &state) {
  for (auto _ : state) {
    CLanguageRus language;
    benchmark::DoNotOptimize(language.EntryCount());
  }
}
BENCHMARK(BM_LoadRussianTable);

} // namespace
