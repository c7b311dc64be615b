#pragma once
// Builds the small XML documents of the boxes' replies.

#include <string>
#include <string_view>

namespace corvesta::sim {

class XmlWriter {
public:
  // Starts the document with an XML declaration and the root element.
  explicit XmlWriter(std::string_view root);

  XmlWriter &Open(std::string_view name);
  XmlWriter &Close(std::string_view name);
  // <name>text</name>, the text escaped.
  XmlWriter &Element(std::string_view name, std::string_view text);
  XmlWriter &Element(std::string_view name, long long number);

  // Closes the root and returns the document.
  std::string Finish();

private:
  std::string m_root;
  std::string m_text;
};

std::string EscapeMarkup(std::string_view text);

} // namespace corvesta::sim
