#include "cli/text_output.h"

#include <cstdio>
#include <mutex>

#include "cli/visible_text.h"
#include "i18n/translate.h"
#include "platform/text_codec.h"

namespace corvesta::cli {

std::string Tr(std::u16string_view english) {
  return Utf16ToUtf8(Translate(english));
}

std::string FieldString(const char *field, std::size_t size) {
  return std::string(FieldText(field, size));
}

std::string Fill(std::string_view pattern, std::initializer_list<std::string_view> texts) {
  std::string out;
  auto next = texts.begin();
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    if (pattern[i] == '%' && i + 1 < pattern.size()) {
      if (pattern[i + 1] == '%') {
        out += '%';
        ++i;
        continue;
      }
      if (pattern[i + 1] == 's' && next != texts.end()) {
        out += *next++;
        ++i;
        continue;
      }
    }
    out += pattern[i];
  }
  return out;
}

namespace {
// Messages come from worker threads too (message boxes), progress from the
// main thread: one lock keeps their lines whole.
std::mutex g_lock;
bool g_partialShown = false;
std::size_t g_partialWidth = 0;

void EndPartialLineLocked() {
  if (g_partialShown) {
    std::fputc('\n', stderr);
    g_partialShown = false;
    g_partialWidth = 0;
  }
}

void WriteLine(std::FILE *stream, std::string_view text) {
  // Nothing a line holds reaches the terminal as a control sequence.
  const std::string line = VisibleLine(text);
  std::lock_guard guard(g_lock);
  EndPartialLineLocked();
  std::fwrite(line.data(), 1, line.size(), stream);
  std::fputc('\n', stream);
  std::fflush(stream);
}
} // namespace

void ShowPartialLine(std::string_view shown) {
  const std::string text = VisibleLine(shown);
  std::lock_guard guard(g_lock);
  std::string line = "\r" + text;
  if (text.size() < g_partialWidth) {
    line.append(g_partialWidth - text.size(), ' ');
  }
  g_partialWidth = text.size();
  g_partialShown = true;
  std::fwrite(line.data(), 1, line.size(), stderr);
  std::fflush(stderr);
}

void EndPartialLine() {
  std::lock_guard guard(g_lock);
  EndPartialLineLocked();
}

void Out(std::string_view line) {
  WriteLine(stdout, line);
}
void Err(std::string_view line) {
  WriteLine(stderr, line);
}

} // namespace corvesta::cli
