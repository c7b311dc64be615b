#include "platform/shell_open.h"

namespace corvesta {
namespace {

std::mutex g_serviceLock;
std::shared_ptr<ShellOpenService> g_service;

std::shared_ptr<ShellOpenService> CurrentService() {
  std::lock_guard guard(g_serviceLock);
  return g_service;
}

char16_t Lower(char16_t c) {
  return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 32) : c;
}

bool StartsWithNoCase(std::u16string_view text, std::u16string_view prefix) {
  if (text.size() < prefix.size()) {
    return false;
  }
  for (std::size_t i = 0; i < prefix.size(); ++i) {
    if (Lower(text[i]) != prefix[i]) {
      return false;
    }
  }
  return true;
}

// Letters, digits, '-', '.', '_' and ':' (for IPv6 literals): enough for
// names and addresses, and nothing that could change the meaning of a URL.
bool IsHostCharacter(char16_t c) {
  return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') ||
         c == u'-' || c == u'.' || c == u'_' || c == u':';
}

} // namespace

std::optional<SharePath> ParseSharePath(std::u16string_view networkPath) {
  if (networkPath.size() < 2 || networkPath[0] != u'\\' || networkPath[1] != u'\\') {
    return std::nullopt;
  }
  std::u16string_view rest = networkPath.substr(2);
  std::size_t separator = rest.find(u'\\');
  if (separator == std::u16string_view::npos || separator == 0) {
    return std::nullopt;
  }
  SharePath share;
  share.host = std::u16string(rest.substr(0, separator));
  for (char16_t c : share.host) {
    if (!IsHostCharacter(c)) {
      return std::nullopt;
    }
  }
  std::u16string_view tail = rest.substr(separator + 1);
  // Drop trailing separators, then turn the rest into a '/'-separated path.
  while (!tail.empty() && tail.back() == u'\\') {
    tail.remove_suffix(1);
  }
  if (tail.empty() || tail.front() == u'\\') {
    return std::nullopt;
  }
  share.path.reserve(tail.size());
  for (char16_t c : tail) {
    share.path.push_back(c == u'\\' ? u'/' : c);
  }
  return share;
}

bool IsWebLink(std::u16string_view link) {
  return StartsWithNoCase(link, u"http://") || StartsWithNoCase(link, u"https://");
}

std::shared_ptr<ShellOpenService> SetShellOpenService(std::shared_ptr<ShellOpenService> service) {
  std::lock_guard guard(g_serviceLock);
  std::shared_ptr<ShellOpenService> previous = std::move(g_service);
  g_service = std::move(service);
  return previous;
}

bool ShellOpenLink(std::u16string_view link) {
  if (!IsWebLink(link)) {
    return false;
  }
  std::shared_ptr<ShellOpenService> service = CurrentService();
  return service && service->OpenLink(link);
}

bool ShellOpenShare(std::u16string_view networkPath) {
  std::optional<SharePath> share = ParseSharePath(networkPath);
  if (!share) {
    return false;
  }
  std::shared_ptr<ShellOpenService> service = CurrentService();
  return service && service->OpenShare(*share);
}

bool ShellOpenRecorder::OpenLink(std::u16string_view link) {
  std::lock_guard guard(m_lock);
  m_links.emplace_back(link);
  return m_result;
}

bool ShellOpenRecorder::OpenShare(const SharePath &share) {
  std::lock_guard guard(m_lock);
  m_shares.push_back(share);
  return m_result;
}

void ShellOpenRecorder::SetResult(bool result) {
  std::lock_guard guard(m_lock);
  m_result = result;
}

std::vector<std::u16string> ShellOpenRecorder::Links() const {
  std::lock_guard guard(m_lock);
  return m_links;
}

std::vector<SharePath> ShellOpenRecorder::Shares() const {
  std::lock_guard guard(m_lock);
  return m_shares;
}

ScopedShellOpenRecorder::ScopedShellOpenRecorder()
    : m_recorder(std::make_shared<ShellOpenRecorder>()),
      m_previous(SetShellOpenService(m_recorder)) {}

ScopedShellOpenRecorder::~ScopedShellOpenRecorder() {
  SetShellOpenService(m_previous);
}

} // namespace corvesta
