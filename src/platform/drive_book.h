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
#include <optional>
#include <string>
#include <vector>

#include "platform/drive_table.h"
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
  // None when a new mapping of the share may take the letter; else
  // LetterInUse, ShareOnOtherLetter, BadValue or RecordFailed.
  DriveResult CheckFree(char letter, const std::string &server, const std::string &share) const;

  // Records a new mapping: its table entry, the link to record.folder (none
  // when empty) and the bookmark line (none when empty).
  DriveResult Add(const DriveRecord &record, bool remembered);
  // Removes the letter's link (only when it still points where it was
  // made to), its bookmark line and its entry. NotMapped without one.
  DriveResult Remove(char letter);
  // Points the letter's link at `folder` (remakes a lost link; a foreign
  // entry is left alone: LetterInUse) and records the folder.
  DriveResult SetFolder(char letter, const std::string &folder);

  LinkState Link(char letter, const std::string &recordedFolder) const;

private:
  struct Tables;
  DriveResult Load(Tables &tables) const;
  DriveResult Store(const Tables &before, const Tables &after) const;
  DriveResult CheckFreeIn(const Tables &tables, char letter, const std::string &server,
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
