#include "platform/gtk_bookmarks.h"

namespace corvesta {
namespace {

// Calls `visit(line, lineEnd)` for every line; lineEnd is "\n" or empty for
// a last line without one.
template <typename Visit> void ForEachLine(std::string_view file, Visit visit) {
  while (!file.empty()) {
    const std::size_t end = file.find('\n');
    if (end == std::string_view::npos) {
      visit(file, std::string_view());
      return;
    }
    visit(file.substr(0, end), file.substr(end, 1));
    file.remove_prefix(end + 1);
  }
}

} // namespace

std::string MakeBookmarkLine(std::string_view uri, char letter, std::string_view share,
                             std::string_view box, std::string_view server) {
  std::string line(uri);
  line += ' ';
  line += letter;
  line += ": ";
  line += share;
  line += " (";
  line += box.empty() ? server : box;
  line += ')';
  return line;
}

std::string AddBookmarkLine(std::string_view file, std::string_view line) {
  bool present = false;
  ForEachLine(file, [&](std::string_view each, std::string_view) { present |= each == line; });
  std::string result(file);
  if (present) {
    return result;
  }
  if (!result.empty() && result.back() != '\n') {
    result += '\n';
  }
  result += line;
  result += '\n';
  return result;
}

std::string RemoveBookmarkLine(std::string_view file, std::string_view line) {
  std::string result;
  result.reserve(file.size());
  ForEachLine(file, [&](std::string_view each, std::string_view end) {
    if (each != line) {
      result += each;
      result += end;
    }
  });
  return result;
}

} // namespace corvesta
