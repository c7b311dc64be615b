#pragma once
// The desktop's side of the network drives, apart from the mounts: which
// letter holds which share, the links ~/Drives/<letter>, the file-manager
// bookmarks and the autostart entry that reconnects at login.
//
// Remembered mappings are kept in $XDG_CONFIG_HOME/Utility/Drives.ini and
// come back at the next login; the others in $XDG_RUNTIME_DIR/Utility/
// Drives.ini, gone at logout as their mounts are. Both files are 0600,
// replaced atomically, and changed only under one file lock, so the program
// and corvesta-cli never lose each other's changes. A letter is in use when a
// table holds it or ~/Drives holds an entry of that name (ours or not).
// The link is named by the bare letter: a colon breaks make, PATH lists and
// host:path names.
//
// Every change either completes or leaves the tables, the links and the
// bookmarks as they were.

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/drive_table.h"
#include "platform/file_replace.h"
#include "platform/network_drives.h"

namespace corvesta {

struct DrivePlaces {
  std::filesystem::path config;  // $XDG_CONFIG_HOME, or ~/.config
  std::filesystem::path runtime; // $XDG_RUNTIME_DIR; empty when there is none
  std::filesystem::path home;

  // From the environment (the configuration folder as the settings store
  // finds it); nothing without a home folder.
  static std::optional<DrivePlaces> FromEnvironment();

  std::filesystem::path RememberedTable() const;
  std::filesystem::path SessionTable() const;
  std::filesystem::path LockFile() const;
  std::filesystem::path LinkFolder() const;
  std::filesystem::path Link(char letter) const;
  std::filesystem::path Bookmarks() const;
  // The desktop's autostart entry that reconnects remembered mappings at
  // login; present while a remembered mapping exists.
  std::filesystem::path Autostart() const;
};

// The autostart entry's text.
std::string DriveAutostartEntry();

struct BookEntry {
  DriveRecord record;
  bool remembered = false;
};

enum class LinkState { None, Ours, Foreign };

// What Add asks of its caller while it holds the records' lock, so that no
// other process changes the records between the caller's decision and the
// change.
struct AddSteps {
  // Once the letter is settled and before anything is written: completes
  // the record (the bookmark line names the letter) and makes sure that
  // what it points to is there. A failure ends Add with nothing changed.
  std::function<DriveResult(DriveRecord &record)> prepare;
  // When Add fails after the lock was taken, with every record then held:
  // takes back what the caller made for the record unless one of them
  // points to it too.
  std::function<void(const std::vector<DriveRecord> &held)> undo;
};

// What Remove asks of its caller while it holds the records' lock.
struct RemoveSteps {
  // Before anything changes, with the letter's record and every other
  // record: lets go of what only this record used (a mount no other record
  // points to). A failure ends Remove with nothing changed.
  std::function<DriveResult(const DriveRecord &record, const std::vector<DriveRecord> &others)>
      release;
  // After the record is gone, with the records that remain.
  std::function<void(const DriveRecord &record, const std::vector<DriveRecord> &remaining)> forget;
};

class DriveBook {
public:
  explicit DriveBook(DrivePlaces places);

  const DrivePlaces &Places() const { return m_places; }

  // The entries of both tables, in letter order. RecordFailed (detail: the
  // file) when a table cannot be read or is no drive table; `entries` then
  // holds what the other table holds.
  DriveResult Entries(std::vector<BookEntry> &entries) const;
  // Letters in a table or in ~/Drives, upper case, in order.
  std::string LettersInUse() const;
  // None when a new mapping of the share may take the letter (0: any free
  // letter); else LetterInUse, ShareOnOtherLetter, BadValue or RecordFailed.
  DriveResult CheckFree(char letter, const std::string &server, const std::string &share) const;

  // Records a new mapping: its table entry, the link to record.folder (none
  // when empty) and the bookmark line (none when empty). A letter 0 takes
  // the last free letter from Z down, chosen under the lock; the result's
  // `letter` is the letter taken.
  DriveResult Add(const DriveRecord &record, bool remembered, const AddSteps &steps = {});
  // Removes the letter's link (only when it still points where it was
  // made to), its bookmark line and its entry. NotMapped without one.
  DriveResult Remove(char letter, const RemoveSteps &steps = {});
  // Points the letter's link at `folder` (remakes a lost link; a foreign
  // entry is left alone: LetterInUse) and records the folder.
  DriveResult SetFolder(char letter, const std::string &folder);

  LinkState Link(char letter, const std::string &recordedFolder) const;

private:
  struct Tables;
  DriveResult Load(Tables &tables) const;
  // Makes the records' folder, holds their lock in `lock` and loads both
  // tables under it.
  DriveResult LockAndLoad(std::optional<FileLock> &lock, Tables &tables) const;
  DriveResult Store(const Tables &before, const Tables &after) const;
  // Add's work once the lock is held and `before` loaded.
  DriveResult AddLocked(const Tables &before, DriveRecord record, bool remembered,
                        const std::function<DriveResult(DriveRecord &)> &prepare) const;
  // As CheckFree; a letter 0 is replaced by the last free letter.
  DriveResult CheckFreeIn(const Tables &tables, char &letter, const std::string &server,
                          const std::string &share) const;
  DriveResult ChangeBookmarks(const std::string &removeLine, const std::string &addLine,
                              std::optional<std::string> &before) const;
  void RestoreBookmarks(const std::optional<std::string> &before) const;
  // Writes or removes the autostart entry; false when it could not be
  // written. An entry that is not ours is left alone.
  bool UpdateAutostart(bool wanted) const;

  DrivePlaces m_places;
};

} // namespace corvesta
