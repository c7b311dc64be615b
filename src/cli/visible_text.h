#pragma once
// Texts that came from a box (its name, description, shares, disks, the
// addresses it reports) reach a terminal only with their control characters
// made visible, so that no such text can clear the screen, move the cursor,
// rewrite a line, set the terminal's title or its clipboard, or pass for a
// line of the program's own.
//
// Shown as escapes: the C0 controls, DEL and the C1 controls as \u00XX; the
// line and paragraph separators and the bidirectional embeddings, overrides
// and isolates (which reorder what follows them) as \uXXXX; every byte that
// is not part of well-formed UTF-8 as \xNN. Everything else, backslashes
// included, stays as it is.

#include <string>
#include <string_view>

namespace corvesta::cli {

// A text from a box, as a part of a line: line breaks and tabs are escaped too.
std::string VisibleText(std::string_view utf8);

// A whole line the program writes: its own line breaks and tabs stay, every
// other control character is escaped. Escapes are JSON's own, so a JSON text
// keeps its meaning.
std::string VisibleLine(std::string_view utf8);

} // namespace corvesta::cli
