#pragma once
// Opening links in the browser and shares in the file browser. Every opening
// goes through one replaceable service: the Qt program installs one that hands
// the address to the desktop, tests install a ShellOpenRecorder. Without a
// service nothing is opened and the calls report failure.

#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace corvesta {

// A share written as a network path, "\\host\share" or "\\host\share\folder".
struct SharePath {
  std::u16string host;
  // The share and any folders below it, separated by '/'.
  std::u16string path;
};

// Splits a network path; nullopt when it is not "\\host\share..." or when the
// host or the share name is empty or the host holds characters that cannot
// appear in a host name or address.
std::optional<SharePath> ParseSharePath(std::u16string_view networkPath);

// True for an http:// or https:// link (letters of the scheme in any case).
// Nothing else is handed to the browser.
bool IsWebLink(std::u16string_view link);

class ShellOpenService {
public:
  virtual ~ShellOpenService() = default;
  // A web link; false when it could not be handed on.
  virtual bool OpenLink(std::u16string_view link) = 0;
  // A share already checked by ParseSharePath.
  virtual bool OpenShare(const SharePath &share) = 0;
};

// Installs a service and returns the one it replaces; null removes it.
std::shared_ptr<ShellOpenService> SetShellOpenService(std::shared_ptr<ShellOpenService> service);

// Opens a web link; false for anything but http or https, or when the service
// refused or none is installed.
bool ShellOpenLink(std::u16string_view link);
// Opens a network path; false when it does not parse or the service refused.
bool ShellOpenShare(std::u16string_view networkPath);

// Records every opening and answers with a set result (true by default).
// Thread-safe.
class ShellOpenRecorder : public ShellOpenService {
public:
  bool OpenLink(std::u16string_view link) override;
  bool OpenShare(const SharePath &share) override;

  void SetResult(bool result);
  std::vector<std::u16string> Links() const;
  std::vector<SharePath> Shares() const;

private:
  mutable std::mutex m_lock;
  bool m_result = true;
  std::vector<std::u16string> m_links;
  std::vector<SharePath> m_shares;
};

// Installs a recorder for the lifetime of the object, then restores the
// previous service.
class ScopedShellOpenRecorder {
public:
  ScopedShellOpenRecorder();
  ~ScopedShellOpenRecorder();
  ScopedShellOpenRecorder(const ScopedShellOpenRecorder &) = delete;
  ScopedShellOpenRecorder &operator=(const ScopedShellOpenRecorder &) = delete;
  ShellOpenRecorder &operator*() const { return *m_recorder; }
  ShellOpenRecorder *operator->() const { return m_recorder.get(); }

private:
  std::shared_ptr<ShellOpenRecorder> m_recorder;
  std::shared_ptr<ShellOpenService> m_previous;
};

} // namespace corvesta
