#pragma once
// Text conversion between the user interface's UTF-16 and the 8-bit text of
// the wire, the device list and the settings file, which is UTF-8 here.
// Ill-formed input never fails: each bad sequence becomes U+FFFD.

#include <cstddef>
#include <string>
#include <string_view>

namespace corvesta {

std::u16string Utf8ToUtf16(std::string_view utf8);
std::string Utf16ToUtf8(std::u16string_view utf16);

// True when every byte belongs to a well-formed UTF-8 sequence (no overlong
// forms, no surrogates, nothing above U+10FFFF).
bool IsWellFormedUtf8(std::string_view bytes);

// Each byte as the Latin-1 character of the same number.
std::u16string Latin1ToUtf16(std::string_view bytes);

// The longest prefix of `utf8` that fits `maxBytes` bytes without splitting
// a character.
std::string_view Utf8Prefix(std::string_view utf8, std::size_t maxBytes);

// Copies text into a fixed-width, zero-terminated field of `fieldSize` bytes,
// cut at a character boundary so that it never overruns and never ends in
// half a character. The rest of the field is zero-filled. Returns false when
// the text had to be cut. A field of size 0 is left alone.
bool CopyToField(char *field, std::size_t fieldSize, std::string_view utf8);

// The text of a zero-terminated field, never reading past `fieldSize` bytes
// even when the terminator is missing.
std::string_view FieldText(const char *field, std::size_t fieldSize);

} // namespace corvesta
