#pragma once
// Lines of the GTK file-manager bookmarks file ("URI label" per line). A
// drive's line is added and removed as a whole; every other byte of the file
// stays as it was.

#include <string>
#include <string_view>

namespace corvesta {

// "URI Z: Public (HOMESTORE)"; the box's name in brackets, or the server's
// when the name is empty.
std::string MakeBookmarkLine(std::string_view uri, char letter, std::string_view share,
                             std::string_view box, std::string_view server);

// The file with `line` added at its end (a line end is added first when the
// last line has none). Unchanged when the line is there already.
std::string AddBookmarkLine(std::string_view file, std::string_view line);

// The file without the lines that equal `line`.
std::string RemoveBookmarkLine(std::string_view file, std::string_view line);

} // namespace corvesta
