#pragma once
// Writing the program's texts: results to standard output, messages and
// errors to standard error. Every English text of the system goes through
// the translation lookup first (Tr); "%s" patterns are filled after
// translation (Fill), as "%d" patterns are by FormatPattern.

#include <cstddef>
#include <initializer_list>
#include <string>
#include <string_view>

namespace corvesta::cli {

// The translation of a system text, as UTF-8.
std::string Tr(std::u16string_view english);

// Fills each "%s" with the next text in order; "%%" becomes "%". A "%s"
// without a text left stays as it is written.
std::string Fill(std::string_view pattern, std::initializer_list<std::string_view> texts);

// The text of a fixed-width record field.
std::string FieldString(const char *field, std::size_t size);
template <std::size_t N> std::string FieldString(const char (&field)[N]) {
  return FieldString(field, N);
}

// One line to standard output / standard error (a line break is added). Its
// line breaks and tabs stay; every other control character is shown as an
// escape (VisibleLine). A text from a box goes in through VisibleText, so that
// its own line breaks cannot start a line.
void Out(std::string_view line);
void Err(std::string_view line);

// Progress on a terminal: replaces the partial line on standard error
// (carriage return, no line break). The next Out or Err first ends it.
void ShowPartialLine(std::string_view text);
void EndPartialLine();

} // namespace corvesta::cli
