#pragma once
// The settings file: Utility.ini in the folder "Utility" of the user's
// application-data folder. No cache: every read goes to the file, every
// write is written through at once.
//
// The file holds remembered passwords, so the folder is kept at mode 0700
// and the file at 0600. One process-wide lock (and a file lock on the folder
// against other processes) serialises every access, and a write replaces the
// whole file atomically, so a crash or a full disk never leaves it torn.

#include <filesystem>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>

namespace corvesta::settings {

// The settings file's path, creating the folder when it is missing. Nothing
// when there is no application-data folder or the folder cannot be made;
// every later call tries again.
std::optional<std::filesystem::path> FilePath();

// True with the value when the key holds a non-empty value. A missing key,
// an empty value and an unreadable file all read as not found, and `value`
// is left untouched then. At most kMaxValueLength units are returned.
bool Read(std::u16string_view section, std::u16string_view key, std::u16string &value);

// Writes the value, creating the file, the section and the key as needed.
// False when the write was dropped (LastWriteProblem says why); the old file
// then stays as it was. A settings file that is a symbolic link is updated
// through it: its final target is replaced atomically in the target's own
// folder, and the link stays.
bool Write(std::u16string_view section, std::u16string_view key, std::u16string_view value);

// Writes the key with an empty value; the key stays present.
bool WriteEmpty(std::u16string_view section, std::u16string_view key);

// One value of a write of several.
struct Change {
  std::u16string_view section;
  std::u16string_view key;
  std::u16string_view value;
};

// Writes every value, in order, with one replacement of the file: all of
// them or none (a value the file cannot hold drops the whole write), as
// Write does for one.
bool Write(std::initializer_list<Change> changes);

// Why a write was dropped.
enum class WriteProblem {
  None,
  NoFolder,        // no application-data folder, or no settings folder could be made
  NotWritten,      // the file cannot be read (not a plain file, too large,
                   // unreadable) or the new file could not be written
  Legacy8Bit,      // the file is neither UTF-8 nor UTF-16: it is left as it is
  LinkNotWritable, // a symbolic link to a file (or folder) this user cannot write
  NotHeld,         // a name or value the file cannot hold (line breaks, "=" in a key)
};

// The problem of the last Write or WriteEmpty on the calling thread; None
// after one that succeeded.
WriteProblem LastWriteProblem();

// The translated message for the calling thread's last problem, with the
// settings file's path filled in; empty when the last write succeeded.
std::u16string LastWriteProblemText();

} // namespace corvesta::settings
