#include "app/settings_store.h"

#include <cerrno>
#include <fcntl.h>
#include <mutex>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "app/ini_document.h"
#include "app/settings_keys.h"
#include "i18n/format_pattern.h"
#include "i18n/own_texts.h"
#include "i18n/translate.h"
#include "platform/app_data_folder.h"
#include "platform/text_codec.h"
#include "platform/unique_fd.h"

namespace corvesta::settings {
namespace {

// A settings file larger than this is not ours to rewrite.
constexpr off_t kMaxFileSize = 4 * 1024 * 1024;
// Links followed at most from the settings file to its target.
constexpr int kMaxLinkHops = 40;

struct LastProblem {
  WriteProblem problem = WriteProblem::None;
  std::filesystem::path file;
};
thread_local LastProblem t_lastProblem;

bool Dropped(WriteProblem problem, const std::filesystem::path &file = {}) {
  t_lastProblem = {problem, file};
  return false;
}

std::mutex &ProcessLock() {
  static std::mutex lock;
  return lock;
}

// Holds an flock on the settings folder so that two running copies of the
// program do not interleave their read-modify-write cycles.
class FolderLock {
public:
  explicit FolderLock(const std::filesystem::path &folder)
      : m_fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)) {
    if (m_fd) {
      while (::flock(m_fd.Get(), LOCK_EX) != 0 && errno == EINTR) {
      }
    }
  }

private:
  UniqueFd m_fd; // closing it releases the lock
};

enum class LoadResult { Loaded, Missing, Failed };

LoadResult LoadFile(const std::filesystem::path &file, std::string &bytes) {
  const UniqueFd fd(::open(file.c_str(), O_RDONLY | O_CLOEXEC));
  if (!fd) {
    return errno == ENOENT ? LoadResult::Missing : LoadResult::Failed;
  }
  struct stat info {};
  if (::fstat(fd.Get(), &info) != 0 || !S_ISREG(info.st_mode) || info.st_size > kMaxFileSize) {
    return LoadResult::Failed;
  }
  bytes.clear();
  char buffer[8192];
  for (;;) {
    ssize_t n = ::read(fd.Get(), buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) {
      continue;
    }
    if (n < 0) {
      return LoadResult::Failed;
    }
    if (n == 0) {
      break;
    }
    bytes.append(buffer, static_cast<std::size_t>(n));
    if (bytes.size() > static_cast<std::size_t>(kMaxFileSize)) {
      return LoadResult::Failed;
    }
  }
  return LoadResult::Loaded;
}

bool WriteAll(int fd, const std::string &bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
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

// Writes a temporary file beside the target, then renames it over the
// target: readers see either the old file or the new one, never a mix.
bool ReplaceFile(const std::filesystem::path &file, const std::string &bytes) {
  std::string pattern = file.string() + ".XXXXXX";
  UniqueFd fd(::mkstemp(pattern.data())); // mode 0600
  if (!fd) {
    return false;
  }
  bool ok = ::fchmod(fd.Get(), S_IRUSR | S_IWUSR) == 0 && WriteAll(fd.Get(), bytes) &&
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

// The file a write replaces: the settings file itself, or the final target
// of the links it is, with the folder of that target writable. Nothing for a
// link loop, a link too deep, or a target this user cannot replace.
std::optional<std::filesystem::path> WriteTarget(const std::filesystem::path &file) {
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
  // The target is replaced by a new file in its own folder, so that folder
  // must take the new file, and the target itself must be the user's to
  // write: a link to somebody else's file is not turned into a copy.
  const std::filesystem::path folder = target.parent_path();
  if (::access(folder.c_str(), W_OK | X_OK) != 0) {
    return std::nullopt;
  }
  if (::access(target.c_str(), F_OK) == 0 && ::access(target.c_str(), W_OK) != 0) {
    return std::nullopt;
  }
  return target;
}

std::u16string CutToMaxLength(std::u16string value) {
  if (value.size() > kMaxValueLength) {
    std::size_t length = kMaxValueLength;
    char16_t last = value[length - 1];
    if (last >= 0xD800 && last <= 0xDBFF) {
      --length; // do not keep half a surrogate pair
    }
    value.resize(length);
  }
  return value;
}

} // namespace

std::optional<std::filesystem::path> FilePath() {
  std::optional<std::filesystem::path> base = ApplicationDataFolder();
  if (!base) {
    return std::nullopt;
  }
  std::filesystem::path folder = *base / kFolderName;
  std::error_code error;
  if (!std::filesystem::is_directory(folder, error)) {
    std::filesystem::create_directories(*base, error);
    if (::mkdir(folder.c_str(), S_IRWXU) != 0 && errno != EEXIST) {
      return std::nullopt;
    }
    if (!std::filesystem::is_directory(folder, error)) {
      return std::nullopt;
    }
  }
  struct stat info {};
  if (::stat(folder.c_str(), &info) == 0 && (info.st_mode & 0777) != S_IRWXU &&
      info.st_uid == ::geteuid()) {
    ::chmod(folder.c_str(), S_IRWXU);
  }
  return folder / kFileName;
}

bool Read(std::u16string_view section, std::u16string_view key, std::u16string &value) {
  std::lock_guard guard(ProcessLock());
  std::optional<std::filesystem::path> file = FilePath();
  if (!file) {
    return false;
  }
  std::string bytes;
  if (LoadFile(*file, bytes) != LoadResult::Loaded) {
    return false;
  }
  std::optional<std::u16string> found = IniDocument::Parse(bytes).Get(section, key);
  if (!found || found->empty()) {
    return false;
  }
  value = CutToMaxLength(std::move(*found));
  return true;
}

bool Write(std::u16string_view section, std::u16string_view key, std::u16string_view value) {
  return Write({Change{section, key, value}});
}

bool Write(std::initializer_list<Change> changes) {
  std::lock_guard guard(ProcessLock());
  std::optional<std::filesystem::path> file = FilePath();
  if (!file) {
    return Dropped(WriteProblem::NoFolder);
  }
  FolderLock folderLock(file->parent_path());
  std::string bytes;
  LoadResult loaded = LoadFile(*file, bytes);
  if (loaded == LoadResult::Failed) {
    return Dropped(WriteProblem::NotWritten, *file);
  }
  if (loaded == LoadResult::Loaded && IniDocument::IsLegacy8Bit(bytes)) {
    return Dropped(WriteProblem::Legacy8Bit, *file);
  }
  const std::optional<std::filesystem::path> target = WriteTarget(*file);
  if (!target) {
    return Dropped(WriteProblem::LinkNotWritable, *file);
  }
  IniDocument document = IniDocument::Parse(loaded == LoadResult::Loaded ? bytes : std::string());
  for (const Change &change : changes) {
    if (!document.Set(change.section, change.key, change.value)) {
      return Dropped(WriteProblem::NotHeld, *file);
    }
  }
  if (!ReplaceFile(*target, document.Serialize())) {
    return Dropped(WriteProblem::NotWritten, *file);
  }
  t_lastProblem = {};
  return true;
}

bool WriteEmpty(std::u16string_view section, std::u16string_view key) {
  return Write(section, key, std::u16string_view());
}

WriteProblem LastWriteProblem() {
  return t_lastProblem.problem;
}

std::u16string LastWriteProblemText() {
  const std::u16string file = Utf8ToUtf16(t_lastProblem.file.string());
  switch (t_lastProblem.problem) {
  case WriteProblem::None:
    return {};
  case WriteProblem::NoFolder:
    return Translate(kSettingsNoFolderText);
  case WriteProblem::Legacy8Bit:
    return FillPattern(Translate(kSettingsLegacyText), {file});
  case WriteProblem::LinkNotWritable:
    return FillPattern(Translate(kSettingsLinkText), {file});
  case WriteProblem::NotWritten:
  case WriteProblem::NotHeld:
    break;
  }
  return FillPattern(Translate(kSettingsNotSavedText), {file});
}

} // namespace corvesta::settings
