#include "platform/file_replace.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace corvesta {
namespace {

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

FileRead ReadSmallFile(const std::filesystem::path &file, std::string &bytes) {
  const UniqueFd fd(::open(file.c_str(), O_RDONLY | O_CLOEXEC));
  if (!fd) {
    return errno == ENOENT ? FileRead::Missing : FileRead::Failed;
  }
  struct stat info {};
  if (::fstat(fd.Get(), &info) != 0 || !S_ISREG(info.st_mode) ||
      static_cast<std::size_t>(info.st_size) > kSmallFileMaxBytes) {
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
    if (bytes.size() > kSmallFileMaxBytes) {
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
