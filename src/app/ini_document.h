#pragma once
// An INI text in memory: sections, keys and values as texts, names matched
// regardless of letter case, everything else in the file (comments, blank
// lines, order) kept as it was when the document is written back.
// Parsing is a pure function over bytes and never fails.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace corvesta {

class IniDocument {
public:
  // UTF-8, with or without a byte-order mark, or UTF-16 little- or
  // big-endian with its byte-order mark. Any other bytes (a legacy 8-bit
  // code page) are read as Latin-1.
  static IniDocument Parse(std::string_view bytes);

  // True when Parse reads the bytes as Latin-1: they are neither UTF-8 nor
  // UTF-16 with its mark. Writing such a file back as UTF-8 would change
  // every byte above 127, so its writer leaves it alone.
  static bool IsLegacy8Bit(std::string_view bytes);

  // The value of the first matching key of the first matching section that
  // holds it, with surrounding blanks and one pair of enclosing double
  // quotes removed.
  std::optional<std::u16string> Get(std::u16string_view section, std::u16string_view key) const;

  // Replaces the value, or adds the key (to the first matching section, or
  // to a new section at the end). False, with nothing changed, for names or
  // values the file cannot hold: an empty name, a line break or a zero in
  // any text, "=" in a key, a key starting with "[" or ";", a section name
  // starting with blanks.
  bool Set(std::u16string_view section, std::u16string_view key, std::u16string_view value);

  // UTF-8, one line per entry, "\n" line ends.
  std::string Serialize() const;

private:
  enum class Kind { Section, Entry, Other };
  struct Line {
    Kind kind = Kind::Other;
    std::u16string name;  // section name or key, trimmed
    std::u16string value; // entry value as read (quotes removed)
    std::u16string raw;   // the line as it stands in the file
  };
  std::vector<Line> m_lines;
};

// Equal regardless of letter case (ASCII, Latin-1, Latin Extended-A, Greek
// and Cyrillic letters).
bool EqualIgnoringCase(std::u16string_view a, std::u16string_view b);

} // namespace corvesta
