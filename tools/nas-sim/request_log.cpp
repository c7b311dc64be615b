#include "request_log.h"

#include <cerrno>
#include <chrono>
#include <cstring>

#include <nlohmann/json.hpp>

namespace corvesta::sim {

RequestLog::~RequestLog() {
  if (m_file != nullptr) {
    std::fclose(m_file);
  }
}

bool RequestLog::Open(const std::string &path, std::string &error) {
  m_file = std::fopen(path.c_str(), "a");
  if (m_file == nullptr) {
    error = "cannot open the log file " + path + ": " + std::strerror(errno);
    return false;
  }
  return true;
}

std::string ToHex(std::string_view bytes) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string hex;
  hex.reserve(bytes.size() * 2);
  for (const char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    hex.push_back(kDigits[byte >> 4]);
    hex.push_back(kDigits[byte & 0x0F]);
  }
  return hex;
}

void RequestLog::Write(std::string_view box, std::string_view transport, std::string_view peer,
                       std::string_view local, std::string_view bytes) {
  if (m_file == nullptr) {
    return;
  }
  const auto now = std::chrono::system_clock::now().time_since_epoch();
  const double seconds = std::chrono::duration<double>(now).count();
  const nlohmann::json line{{"time", seconds}, {"box", box},     {"transport", transport},
                            {"peer", peer},    {"local", local}, {"hex", ToHex(bytes)}};
  // Box names come from the state file and are valid UTF-8 there; replace
  // rather than throw should one not be.
  const std::string text = line.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
  std::fprintf(m_file, "%s\n", text.c_str());
  std::fflush(m_file);
}

} // namespace corvesta::sim
