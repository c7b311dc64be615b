#include "xml_writer.h"

namespace corvesta::sim {

std::string EscapeMarkup(std::string_view text) {
  std::string escaped;
  escaped.reserve(text.size());
  for (const char c : text) {
    switch (c) {
    case '&':
      escaped += "&amp;";
      break;
    case '<':
      escaped += "&lt;";
      break;
    case '>':
      escaped += "&gt;";
      break;
    case '"':
      escaped += "&quot;";
      break;
    case '\'':
      escaped += "&#39;";
      break;
    default:
      escaped += c;
    }
  }
  return escaped;
}

XmlWriter::XmlWriter(std::string_view root) : m_root(root) {
  m_text = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<" + m_root + ">";
}

XmlWriter &XmlWriter::Open(std::string_view name) {
  m_text += "<" + std::string(name) + ">";
  return *this;
}

XmlWriter &XmlWriter::Close(std::string_view name) {
  m_text += "</" + std::string(name) + ">";
  return *this;
}

XmlWriter &XmlWriter::Element(std::string_view name, std::string_view text) {
  Open(name);
  m_text += EscapeMarkup(text);
  return Close(name);
}

XmlWriter &XmlWriter::Element(std::string_view name, long long number) {
  return Element(name, std::to_string(number));
}

std::string XmlWriter::Finish() {
  return m_text + "</" + m_root + ">\n";
}

} // namespace corvesta::sim
