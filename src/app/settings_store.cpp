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
#include "platform/file_replace.h"
#include "platform/text_codec.h"
#include "platform/unique_fd.h"

namespace corvesta::settings {
namespace {

// A settings file larger than this is not ours to rewrite.
constexpr std::size_t kMaxFileSize = 4 * 1024 * 1024;

struct LastProblem {
  WriteProblem problem = WriteProblem::None;
  std::filesystem::path file;
};
thread_local LastProblem t_lastProblem;

// True when others than the owner may read or write the file, or when that
// cannot be told: such a file is rewritten with the owner's rights only.
bool LooserThanOwnerOnly(const std::filesystem::path &file) {
  struct stat status {};
  return ::stat(file.c_str(), &status) != 0 || (status.st_mode & (S_IRWXG | S_IRWXO)) != 0;
}

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
  // Others lose their access; the owner's own bits stay as the person set
  // them (a folder made read-only is not made writable again).
  struct stat info {};
  if (::stat(folder.c_str(), &info) == 0 && (info.st_mode & (S_IRWXG | S_IRWXO)) != 0 &&
      info.st_uid == ::geteuid()) {
    ::chmod(folder.c_str(), info.st_mode & S_IRWXU);
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
  if (ReadSmallFile(*file, bytes, kMaxFileSize) != FileRead::Loaded) {
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
  const FileRead loaded = ReadSmallFile(*file, bytes, kMaxFileSize);
  if (loaded == FileRead::Failed) {
    return Dropped(WriteProblem::NotWritten, *file);
  }
  if (loaded == FileRead::Loaded && IniDocument::IsLegacy8Bit(bytes)) {
    return Dropped(WriteProblem::Legacy8Bit, *file);
  }
  const std::optional<std::filesystem::path> target = ReplaceTarget(*file);
  if (!target) {
    return Dropped(WriteProblem::LinkNotWritable, *file);
  }
  IniDocument document = IniDocument::Parse(loaded == FileRead::Loaded ? bytes : std::string());
  for (const Change &change : changes) {
    if (!document.Set(change.section, change.key, change.value)) {
      return Dropped(WriteProblem::NotHeld, *file);
    }
  }
  std::string serialized = document.Serialize();
  if (loaded == FileRead::Loaded && serialized == bytes && !LooserThanOwnerOnly(*target)) {
    // Nothing changes: the file already holds every value, and no rewrite
    // (with its flush to the disk) is needed.
    t_lastProblem = {};
    return true;
  }
  // Readers see the old file or the new one, never a mix.
  if (!ReplaceFileAtomically(*target, serialized, S_IRUSR | S_IWUSR)) {
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
