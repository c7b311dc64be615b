#include "platform/file_replace.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace corvesta {
namespace {

// Links followed at most from a file to its target.
constexpr int kMaxLinkHops = 40;

bool WriteAll(int fd, const std::string &bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) {
      continue;
    }
    if (n <= 0) {
      return false;
    }
    done += static_cast<std::size_t>(n);
  }
  return true;
}

} // namespace

FileRead ReadSmallFile(const std::filesystem::path &file, std::string &bytes,
                       std::size_t maxBytes) {
  const UniqueFd fd(::open(file.c_str(), O_RDONLY | O_CLOEXEC));
  if (!fd) {
    return errno == ENOENT ? FileRead::Missing : FileRead::Failed;
  }
  struct stat info {};
  if (::fstat(fd.Get(), &info) != 0 || !S_ISREG(info.st_mode) ||
      static_cast<std::size_t>(info.st_size) > maxBytes) {
    return FileRead::Failed;
  }
  bytes.clear();
  char buffer[8192];
  for (;;) {
    const ssize_t n = ::read(fd.Get(), buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) {
      continue;
    }
    if (n < 0) {
      return FileRead::Failed;
    }
    if (n == 0) {
      return FileRead::Loaded;
    }
    bytes.append(buffer, static_cast<std::size_t>(n));
    if (bytes.size() > maxBytes) {
      return FileRead::Failed;
    }
  }
}

bool ReplaceFileAtomically(const std::filesystem::path &file, const std::string &bytes,
                           unsigned mode) {
  std::string pattern = file.string() + ".XXXXXX";
  UniqueFd fd(::mkstemp(pattern.data())); // mode 0600
  if (!fd) {
    return false;
  }
  bool ok = ::fchmod(fd.Get(), static_cast<mode_t>(mode)) == 0 && WriteAll(fd.Get(), bytes) &&
            ::fsync(fd.Get()) == 0;
  ok = fd.Close() && ok;
  if (ok) {
    ok = ::rename(pattern.c_str(), file.c_str()) == 0;
  }
  if (!ok) {
    ::unlink(pattern.c_str());
    return false;
  }
  const UniqueFd folder(::open(file.parent_path().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (folder) {
    ::fsync(folder.Get());
  }
  return true;
}

std::optional<std::filesystem::path> ReplaceTarget(const std::filesystem::path &file) {
  std::filesystem::path target = file;
  for (int hop = 0;; ++hop) {
    struct stat info {};
    if (::lstat(target.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) {
      break;
    }
    if (hop == kMaxLinkHops) {
      return std::nullopt;
    }
    std::error_code error;
    std::filesystem::path next = std::filesystem::read_symlink(target, error);
    if (error) {
      return std::nullopt;
    }
    target = next.is_absolute() ? next : target.parent_path() / next;
  }
  if (target == file) {
    return target;
  }
  const std::filesystem::path folder = target.parent_path();
  if (::access(folder.c_str(), W_OK | X_OK) != 0) {
    return std::nullopt;
  }
  if (::access(target.c_str(), F_OK) == 0 && ::access(target.c_str(), W_OK) != 0) {
    return std::nullopt;
  }
  return target;
}

FileLock::FileLock(const std::filesystem::path &lockFile)
    : m_fd(::open(lockFile.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600)) {
  if (!m_fd) {
    return;
  }
  int status = 0;
  while ((status = ::flock(m_fd.Get(), LOCK_EX)) != 0 && errno == EINTR) {
  }
  m_held = status == 0;
}

} // namespace corvesta
