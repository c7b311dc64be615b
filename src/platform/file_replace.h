#pragma once
// Whole small files: read at once, replaced atomically (a temporary file
// beside the target, renamed over it, so readers see the old file or the new
// one, never a mix), and an exclusive lock that two processes share.

#include <filesystem>
#include <optional>
#include <string>

#include "platform/unique_fd.h"

namespace corvesta {

enum class FileRead { Loaded, Missing, Failed };

// Files larger than this are refused as not ours.
inline constexpr std::size_t kSmallFileMaxBytes = 1 << 20;

// A regular file of at most `maxBytes`, into `bytes`.
FileRead ReadSmallFile(const std::filesystem::path &file, std::string &bytes,
                       std::size_t maxBytes = kSmallFileMaxBytes);

// Replaces `file` by `bytes` with the mode `mode`. False, with the file as it
// was, when anything fails.
bool ReplaceFileAtomically(const std::filesystem::path &file, const std::string &bytes,
                           unsigned mode);

// The file that replacing `file` must replace so that a symbolic link stays
// a link: `file` itself, or the final target of the links it is. The target
// is replaced by a new file in its own folder, so that folder must take the
// new file, and the target must be this user's to write (a link to somebody
// else's file is not turned into a copy). Nothing for a link loop, a chain
// of links too long or such a target.
std::optional<std::filesystem::path> ReplaceTarget(const std::filesystem::path &file);

// Holds an exclusive flock on `lockFile` (created 0600 when missing) while
// the object lives. Check Held().
class FileLock {
public:
  explicit FileLock(const std::filesystem::path &lockFile);
  bool Held() const { return m_held; }

private:
  UniqueFd m_fd; // closing it releases the lock
  bool m_held = false;
};

} // namespace corvesta
