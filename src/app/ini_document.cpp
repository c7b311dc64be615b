#include "app/ini_document.h"

#include "platform/text_codec.h"

namespace corvesta {
namespace {

char16_t FoldCase(char16_t c) {
  if (c < 0x80) {
    return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c + 32) : c;
  }
  if ((c >= 0xC0 && c <= 0xDE && c != 0xD7)) { // Latin-1 capitals
    return static_cast<char16_t>(c + 32);
  }
  if (c >= 0x100 && c <= 0x17F) { // Latin Extended-A: mostly capital/small pairs
    if ((c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E)) {
      return (c % 2 == 1) ? static_cast<char16_t>(c + 1) : c;
    }
    if (c != 0x130 && c != 0x131 && c != 0x138 && c != 0x149 && c != 0x17F) {
      return (c % 2 == 0) ? static_cast<char16_t>(c + 1) : c;
    }
    return c;
  }
  if (c >= 0x391 && c <= 0x3AB && c != 0x3A2) { // Greek capitals
    return static_cast<char16_t>(c + 32);
  }
  if (c >= 0x400 && c <= 0x40F) { // Cyrillic capitals with marks
    return static_cast<char16_t>(c + 80);
  }
  if (c >= 0x410 && c <= 0x42F) { // Cyrillic capitals
    return static_cast<char16_t>(c + 32);
  }
  return c;
}

bool IsBlank(char16_t c) {
  return c == u' ' || c == u'\t';
}

std::u16string_view Trim(std::u16string_view text) {
  while (!text.empty() && IsBlank(text.front())) {
    text.remove_prefix(1);
  }
  while (!text.empty() && IsBlank(text.back())) {
    text.remove_suffix(1);
  }
  return text;
}

bool HasUtf16Mark(std::string_view bytes) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(bytes[i]); };
  return bytes.size() >= 2 &&
         ((byte(0) == 0xFF && byte(1) == 0xFE) || (byte(0) == 0xFE && byte(1) == 0xFF));
}

std::string_view WithoutUtf8Mark(std::string_view bytes) {
  if (bytes.size() >= 3 && static_cast<unsigned char>(bytes[0]) == 0xEF &&
      static_cast<unsigned char>(bytes[1]) == 0xBB &&
      static_cast<unsigned char>(bytes[2]) == 0xBF) {
    bytes.remove_prefix(3);
  }
  return bytes;
}

std::u16string DecodeBytes(std::string_view bytes) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(bytes[i]); };
  if (HasUtf16Mark(bytes)) {
    bool little = byte(0) == 0xFF;
    std::u16string text;
    text.reserve(bytes.size() / 2);
    for (std::size_t i = 2; i + 1 < bytes.size(); i += 2) {
      unsigned lo = little ? byte(i) : byte(i + 1);
      unsigned hi = little ? byte(i + 1) : byte(i);
      text.push_back(static_cast<char16_t>((hi << 8) | lo));
    }
    return text;
  }
  bytes = WithoutUtf8Mark(bytes);
  if (!IsWellFormedUtf8(bytes)) {
    // A file written in a legacy 8-bit code page: each byte is its Latin-1
    // character, never a replacement character.
    return Latin1ToUtf16(bytes);
  }
  return Utf8ToUtf16(bytes);
}

bool HasForbidden(std::u16string_view text) {
  for (char16_t c : text) {
    if (c == u'\r' || c == u'\n' || c == 0) {
      return true;
    }
  }
  return false;
}

// Quotes a value whose blanks at either end, or enclosing quotes, would
// otherwise be lost when it is read back.
std::u16string EncodeValue(std::u16string_view value) {
  bool needsQuotes =
      !value.empty() && (IsBlank(value.front()) || IsBlank(value.back()) ||
                         (value.size() >= 2 && value.front() == u'"' && value.back() == u'"'));
  if (!needsQuotes) {
    return std::u16string(value);
  }
  std::u16string quoted;
  quoted.reserve(value.size() + 2);
  quoted.push_back(u'"');
  quoted.append(value);
  quoted.push_back(u'"');
  return quoted;
}

std::u16string DecodeValue(std::u16string_view raw) {
  std::u16string_view value = Trim(raw);
  if (value.size() >= 2 && value.front() == u'"' && value.back() == u'"') {
    value = value.substr(1, value.size() - 2);
  }
  return std::u16string(value);
}

} // namespace

bool EqualIgnoringCase(std::u16string_view a, std::u16string_view b) {
  if (a.size() != b.size()) {
    return false;
  }
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (FoldCase(a[i]) != FoldCase(b[i])) {
      return false;
    }
  }
  return true;
}

bool IniDocument::IsLegacy8Bit(std::string_view bytes) {
  return !HasUtf16Mark(bytes) && !IsWellFormedUtf8(WithoutUtf8Mark(bytes));
}

IniDocument IniDocument::Parse(std::string_view bytes) {
  IniDocument document;
  std::u16string text = DecodeBytes(bytes);
  std::u16string_view rest = text;
  while (!rest.empty()) {
    std::size_t end = rest.find(u'\n');
    std::u16string_view rawLine = rest.substr(0, end);
    rest = end == std::u16string_view::npos ? std::u16string_view() : rest.substr(end + 1);
    if (!rawLine.empty() && rawLine.back() == u'\r') {
      rawLine.remove_suffix(1);
    }
    Line line;
    line.raw = std::u16string(rawLine);
    std::u16string_view trimmed = Trim(rawLine);
    if (!trimmed.empty() && trimmed.front() == u'[') {
      std::size_t close = trimmed.rfind(u']');
      if (close != std::u16string_view::npos && close > 0) {
        line.kind = Kind::Section;
        line.name = std::u16string(Trim(trimmed.substr(1, close - 1)));
      }
    } else if (!trimmed.empty() && trimmed.front() != u';') {
      std::size_t equals = trimmed.find(u'=');
      if (equals != std::u16string_view::npos) {
        std::u16string_view key = Trim(trimmed.substr(0, equals));
        if (!key.empty()) {
          line.kind = Kind::Entry;
          line.name = std::u16string(key);
          line.value = DecodeValue(trimmed.substr(equals + 1));
        }
      }
    }
    document.m_lines.push_back(std::move(line));
  }
  return document;
}

std::optional<std::u16string> IniDocument::Get(std::u16string_view section,
                                               std::u16string_view key) const {
  bool inSection = false;
  for (const Line &line : m_lines) {
    if (line.kind == Kind::Section) {
      inSection = EqualIgnoringCase(line.name, section);
    } else if (inSection && line.kind == Kind::Entry && EqualIgnoringCase(line.name, key)) {
      return line.value;
    }
  }
  return std::nullopt;
}

bool IniDocument::Set(std::u16string_view section, std::u16string_view key,
                      std::u16string_view value) {
  if (section.empty() || key.empty() || HasForbidden(section) || HasForbidden(key) ||
      HasForbidden(value) || Trim(section) != section || Trim(key) != key ||
      key.find(u'=') != std::u16string_view::npos || key.front() == u'[' || key.front() == u';') {
    return false;
  }
  Line entry;
  entry.kind = Kind::Entry;
  entry.name = std::u16string(key);
  entry.value = std::u16string(value);
  entry.raw = entry.name + u"=" + EncodeValue(value);

  bool inSection = false;
  std::size_t firstSectionEnd = m_lines.size(); // where to add the key
  bool sectionFound = false;
  for (std::size_t i = 0; i < m_lines.size(); ++i) {
    Line &line = m_lines[i];
    if (line.kind == Kind::Section) {
      if (inSection && !sectionFound) {
        sectionFound = true;
      }
      inSection = EqualIgnoringCase(line.name, section);
      if (inSection && !sectionFound) {
        firstSectionEnd = i + 1;
      }
    } else if (inSection && line.kind == Kind::Entry) {
      if (EqualIgnoringCase(line.name, key)) {
        line.value = entry.value;
        line.raw = line.name + u"=" + EncodeValue(value);
        return true;
      }
      if (!sectionFound) {
        firstSectionEnd = i + 1;
      }
    }
  }
  if (inSection) {
    sectionFound = true;
  }
  if (sectionFound) {
    m_lines.insert(m_lines.begin() + static_cast<std::ptrdiff_t>(firstSectionEnd),
                   std::move(entry));
    return true;
  }
  Line header;
  header.kind = Kind::Section;
  header.name = std::u16string(section);
  header.raw = u"[" + header.name + u"]";
  m_lines.push_back(std::move(header));
  m_lines.push_back(std::move(entry));
  return true;
}

std::string IniDocument::Serialize() const {
  std::string out;
  for (const Line &line : m_lines) {
    out += Utf16ToUtf8(line.raw);
    out += '\n';
  }
  return out;
}

} // namespace corvesta
