#include "platform/base64.h"

#include <array>
#include <cstdint>

namespace corvesta {
namespace {

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

constexpr std::array<std::int8_t, 256> MakeReverse() {
  std::array<std::int8_t, 256> table{};
  for (auto &entry : table) {
    entry = -1;
  }
  for (int i = 0; i < 64; ++i) {
    table[static_cast<unsigned char>(kAlphabet[i])] = static_cast<std::int8_t>(i);
  }
  return table;
}

constexpr std::array<std::int8_t, 256> kReverse = MakeReverse();

} // namespace

std::string Base64Encode(std::string_view bytes) {
  std::string out;
  out.reserve((bytes.size() + 2) / 3 * 4);
  std::size_t i = 0;
  const auto at = [&](std::size_t k) {
    return static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[k]));
  };
  for (; i + 3 <= bytes.size(); i += 3) {
    std::uint32_t group = (at(i) << 16) | (at(i + 1) << 8) | at(i + 2);
    out.push_back(kAlphabet[(group >> 18) & 63]);
    out.push_back(kAlphabet[(group >> 12) & 63]);
    out.push_back(kAlphabet[(group >> 6) & 63]);
    out.push_back(kAlphabet[group & 63]);
  }
  std::size_t rest = bytes.size() - i;
  if (rest == 1) {
    std::uint32_t group = at(i) << 16;
    out.push_back(kAlphabet[(group >> 18) & 63]);
    out.push_back(kAlphabet[(group >> 12) & 63]);
    out.append("==");
  } else if (rest == 2) {
    std::uint32_t group = (at(i) << 16) | (at(i + 1) << 8);
    out.push_back(kAlphabet[(group >> 18) & 63]);
    out.push_back(kAlphabet[(group >> 12) & 63]);
    out.push_back(kAlphabet[(group >> 6) & 63]);
    out.push_back('=');
  }
  return out;
}

std::optional<std::string> Base64Decode(std::string_view text) {
  // Strip the fill, which may only stand at the end of a full group.
  std::size_t fill = 0;
  while (fill < 2 && fill < text.size() && text[text.size() - 1 - fill] == '=') {
    ++fill;
  }
  if (fill > 0 && text.size() % 4 != 0) {
    return std::nullopt;
  }
  std::string_view data = text.substr(0, text.size() - fill);
  if (data.size() % 4 == 1) {
    return std::nullopt;
  }
  std::string out;
  out.reserve(data.size() / 4 * 3 + 2);
  std::uint32_t group = 0;
  int count = 0;
  for (char c : data) {
    std::int8_t value = kReverse[static_cast<unsigned char>(c)];
    if (value < 0) {
      return std::nullopt;
    }
    group = (group << 6) | static_cast<std::uint32_t>(value);
    if (++count == 4) {
      out.push_back(static_cast<char>((group >> 16) & 0xFF));
      out.push_back(static_cast<char>((group >> 8) & 0xFF));
      out.push_back(static_cast<char>(group & 0xFF));
      group = 0;
      count = 0;
    }
  }
  if (count == 2) {
    if ((group & 0x0F) != 0) {
      return std::nullopt;
    }
    out.push_back(static_cast<char>((group >> 4) & 0xFF));
  } else if (count == 3) {
    if ((group & 0x03) != 0) {
      return std::nullopt;
    }
    out.push_back(static_cast<char>((group >> 10) & 0xFF));
    out.push_back(static_cast<char>((group >> 2) & 0xFF));
  }
  return out;
}

} // namespace corvesta
