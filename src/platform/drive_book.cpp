#include "platform/drive_book.h"

#include <optional>

#include <algorithm>
#include <cstdlib>
#include <sys/stat.h>
#include <system_error>

#include "platform/app_data_folder.h"
#include "platform/file_replace.h"
#include "platform/gtk_bookmarks.h"

namespace corvesta {

namespace fs = std::filesystem;

namespace {

constexpr unsigned kTableMode = 0600;
constexpr unsigned kBookmarksMode = 0644;
constexpr char kFolderName[] = "Utility";
constexpr char kTableName[] = "Drives.ini";

std::optional<fs::path> AbsoluteEnvironmentPath(const char *name) {
  const char *value = std::getenv(name);
  if (value == nullptr || value[0] != '/') {
    return std::nullopt;
  }
  return fs::path(value);
}

// A folder of this user only; false when it cannot be made.
bool MakePrivateFolder(const fs::path &folder) {
  std::error_code error;
  if (fs::is_directory(folder, error)) {
    return true;
  }
  fs::create_directories(folder.parent_path(), error);
  return ::mkdir(folder.c_str(), 0700) == 0 || fs::is_directory(folder, error);
}

DriveResult RecordFailure(const fs::path &file) {
  return {DriveCause::RecordFailed, file.string()};
}

} // namespace

std::optional<DrivePlaces> DrivePlaces::FromEnvironment() {
  const std::optional<fs::path> home = AbsoluteEnvironmentPath("HOME");
  const std::optional<fs::path> config = ApplicationDataFolder();
  if (!home || !config) {
    return std::nullopt;
  }
  DrivePlaces places;
  places.home = *home;
  places.config = *config;
  places.runtime = AbsoluteEnvironmentPath("XDG_RUNTIME_DIR").value_or(fs::path());
  return places;
}

fs::path DrivePlaces::RememberedTable() const {
  return config / kFolderName / kTableName;
}

fs::path DrivePlaces::SessionTable() const {
  return runtime.empty() ? fs::path() : runtime / kFolderName / kTableName;
}

fs::path DrivePlaces::LockFile() const {
  return config / kFolderName / "Drives.lock";
}

fs::path DrivePlaces::LinkFolder() const {
  return home / "Drives";
}

fs::path DrivePlaces::Link(char letter) const {
  return LinkFolder() / std::string(1, letter);
}

fs::path DrivePlaces::Bookmarks() const {
  return config / "gtk-3.0" / "bookmarks";
}

fs::path DrivePlaces::Autostart() const {
  return config / "autostart" / "corvesta-drives.desktop";
}

std::string DriveAutostartEntry() {
  return "[Desktop Entry]\n"
         "Type=Application\n"
         "Name=Corvesta network drives\n"
         "Comment=Connects the remembered network drives again\n"
         "Exec=corvesta-cli reconnect\n"
         "Terminal=false\n"
         "NoDisplay=true\n"
         "X-GNOME-Autostart-Delay=5\n";
}

bool DriveBook::UpdateAutostart(bool wanted) const {
  const fs::path file = m_places.Autostart();
  std::string bytes;
  const FileRead read = ReadSmallFile(file, bytes);
  const bool ours = read == FileRead::Loaded && bytes == DriveAutostartEntry();
  if (!wanted) {
    std::error_code error;
    if (ours) {
      fs::remove(file, error);
    }
    return true;
  }
  if (read != FileRead::Missing) {
    return true; // ours already, or the user's own: left alone
  }
  std::error_code error;
  fs::create_directories(file.parent_path(), error);
  return ReplaceFileAtomically(file, DriveAutostartEntry(), kBookmarksMode);
}

struct DriveBook::Tables {
  std::vector<DriveRecord> remembered;
  std::vector<DriveRecord> session;

  const DriveRecord *Find(char letter, bool *remembered_ = nullptr) const {
    for (const auto *table : {&remembered, &session}) {
      for (const DriveRecord &record : *table) {
        if (record.letter == letter) {
          if (remembered_ != nullptr) {
            *remembered_ = table == &remembered;
          }
          return &record;
        }
      }
    }
    return nullptr;
  }

  std::vector<DriveRecord> All() const {
    std::vector<DriveRecord> all = remembered;
    all.insert(all.end(), session.begin(), session.end());
    return all;
  }
};

DriveBook::DriveBook(DrivePlaces places) : m_places(std::move(places)) {}

DriveResult DriveBook::Load(Tables &tables) const {
  const auto loadOne = [](const fs::path &file, std::vector<DriveRecord> &records) {
    records.clear();
    if (file.empty()) {
      return DriveResult{};
    }
    std::string bytes;
    switch (ReadSmallFile(file, bytes)) {
    case FileRead::Missing:
      return DriveResult{};
    case FileRead::Failed:
      return RecordFailure(file);
    case FileRead::Loaded:
      break;
    }
    std::optional<std::vector<DriveRecord>> parsed = ParseDriveTable(bytes);
    if (!parsed) {
      return RecordFailure(file);
    }
    records = std::move(*parsed);
    return DriveResult{};
  };
  DriveResult remembered = loadOne(m_places.RememberedTable(), tables.remembered);
  DriveResult session = loadOne(m_places.SessionTable(), tables.session);
  return remembered.Ok() ? session : remembered;
}

DriveResult DriveBook::Store(const Tables &before, const Tables &after) const {
  const auto storeOne = [](const fs::path &file, const std::vector<DriveRecord> &records) {
    if (file.empty() || !MakePrivateFolder(file.parent_path())) {
      return RecordFailure(file.empty() ? fs::path("$XDG_RUNTIME_DIR") : file);
    }
    // A table that is a link stays one: its target is replaced.
    const std::optional<fs::path> target = ReplaceTarget(file);
    if (!target || !ReplaceFileAtomically(*target, SerializeDriveTable(records), kTableMode)) {
      return RecordFailure(file);
    }
    return DriveResult{};
  };
  const auto same = [](const std::vector<DriveRecord> &a, const std::vector<DriveRecord> &b) {
    return SerializeDriveTable(a) == SerializeDriveTable(b);
  };
  const bool rememberedChanged = !same(before.remembered, after.remembered);
  if (rememberedChanged) {
    if (DriveResult result = storeOne(m_places.RememberedTable(), after.remembered); !result.Ok()) {
      return result;
    }
  }
  if (!same(before.session, after.session)) {
    if (DriveResult result = storeOne(m_places.SessionTable(), after.session); !result.Ok()) {
      if (rememberedChanged) {
        storeOne(m_places.RememberedTable(), before.remembered);
      }
      return result;
    }
  }
  return {};
}

DriveResult DriveBook::Entries(std::vector<BookEntry> &entries) const {
  Tables tables;
  DriveResult result = Load(tables);
  entries.clear();
  for (const DriveRecord &record : tables.remembered) {
    entries.push_back({record, true});
  }
  for (const DriveRecord &record : tables.session) {
    if (tables.Find(record.letter) == &record) { // a letter in both counts once
      entries.push_back({record, false});
    }
  }
  std::sort(entries.begin(), entries.end(), [](const BookEntry &a, const BookEntry &b) {
    return a.record.letter < b.record.letter;
  });
  return result;
}

std::string DriveBook::LettersInUse() const {
  std::vector<BookEntry> entries;
  Entries(entries);
  std::string letters;
  for (const BookEntry &entry : entries) {
    letters.push_back(entry.record.letter);
  }
  for (char letter = 'A'; letter <= 'Z'; ++letter) {
    std::error_code error;
    if (fs::symlink_status(m_places.Link(letter), error).type() != fs::file_type::not_found &&
        !error) {
      letters.push_back(letter);
    }
  }
  std::sort(letters.begin(), letters.end());
  letters.erase(std::unique(letters.begin(), letters.end()), letters.end());
  return letters;
}

LinkState DriveBook::Link(char letter, const std::string &recordedFolder) const {
  std::error_code error;
  const fs::path link = m_places.Link(letter);
  const fs::file_status status = fs::symlink_status(link, error);
  if (status.type() == fs::file_type::not_found) {
    return LinkState::None;
  }
  if (error || status.type() != fs::file_type::symlink || recordedFolder.empty()) {
    return LinkState::Foreign;
  }
  const fs::path target = fs::read_symlink(link, error);
  return !error && target == fs::path(recordedFolder) ? LinkState::Ours : LinkState::Foreign;
}

DriveResult DriveBook::CheckFreeIn(const Tables &tables, char &letter, const std::string &server,
                                   const std::string &share) const {
  const auto taken = [&](char candidate) {
    return tables.Find(candidate) != nullptr || Link(candidate, {}) != LinkState::None;
  };
  if (letter == 0) {
    for (char candidate = 'Z'; candidate >= 'A' && letter == 0; --candidate) {
      if (!taken(candidate)) {
        letter = candidate;
      }
    }
    if (letter == 0) {
      return {DriveCause::LetterInUse, {}};
    }
  }
  if (!IsDriveLetter(letter)) {
    return {DriveCause::BadValue, {}};
  }
  if (taken(letter)) {
    return {DriveCause::LetterInUse, {}};
  }
  for (const auto *table : {&tables.remembered, &tables.session}) {
    for (const DriveRecord &record : *table) {
      if (record.server == server && record.share == share) {
        return {DriveCause::ShareOnOtherLetter, std::string(1, record.letter) + ":"};
      }
    }
  }
  return {};
}

DriveResult DriveBook::CheckFree(char letter, const std::string &server,
                                 const std::string &share) const {
  Tables tables;
  if (DriveResult loaded = Load(tables); !loaded.Ok()) {
    return loaded;
  }
  return CheckFreeIn(tables, letter, server, share);
}

DriveResult DriveBook::ChangeBookmarks(const std::string &removeLine, const std::string &addLine,
                                       std::optional<std::string> &before) const {
  before.reset();
  if (removeLine.empty() && addLine.empty()) {
    return {};
  }
  std::error_code error;
  const std::optional<fs::path> target = ReplaceTarget(m_places.Bookmarks());
  if (!target) {
    return RecordFailure(m_places.Bookmarks());
  }
  const fs::path file = *target;
  std::string bytes;
  const FileRead read = ReadSmallFile(file, bytes);
  if (read == FileRead::Failed) {
    return RecordFailure(file);
  }
  if (read == FileRead::Missing && addLine.empty()) {
    return {};
  }
  std::string changed = bytes;
  if (!removeLine.empty()) {
    changed = RemoveBookmarkLine(changed, removeLine);
  }
  if (!addLine.empty()) {
    changed = AddBookmarkLine(changed, addLine);
  }
  if (changed == bytes) {
    return {};
  }
  unsigned mode = kBookmarksMode;
  struct stat info {};
  if (read == FileRead::Loaded && ::stat(file.c_str(), &info) == 0) {
    mode = info.st_mode & 07777;
  }
  fs::create_directories(file.parent_path(), error);
  if (!ReplaceFileAtomically(file, changed, mode)) {
    return RecordFailure(file);
  }
  before = read == FileRead::Loaded ? bytes : std::string();
  return {};
}

void DriveBook::RestoreBookmarks(const std::optional<std::string> &before) const {
  if (!before) {
    return;
  }
  const fs::path file = ReplaceTarget(m_places.Bookmarks()).value_or(m_places.Bookmarks());
  struct stat info {};
  const unsigned mode = ::stat(file.c_str(), &info) == 0 ? info.st_mode & 07777 : kBookmarksMode;
  ReplaceFileAtomically(file, *before, mode);
}

DriveResult DriveBook::LockAndLoad(std::optional<FileLock> &lock, Tables &tables) const {
  const fs::path folder = m_places.LockFile().parent_path();
  if (!MakePrivateFolder(folder)) {
    return RecordFailure(folder);
  }
  lock.emplace(m_places.LockFile());
  if (!lock->Held()) {
    return RecordFailure(m_places.LockFile());
  }
  return Load(tables);
}

DriveResult DriveBook::Add(const DriveRecord &asked, bool remembered, const AddSteps &steps) {
  DriveRecord checked = asked;
  checked.letter = asked.letter == 0 ? 'Z' : asked.letter;
  if (!FitsDriveTable(checked) || asked.server.empty() || asked.share.empty()) {
    return {DriveCause::BadValue, {}};
  }
  std::optional<FileLock> lock;
  Tables before;
  if (DriveResult loaded = LockAndLoad(lock, before); !loaded.Ok()) {
    // Without the records nobody can tell whether another mapping uses
    // what the caller made: it is left as it is.
    return loaded;
  }
  DriveResult added = AddLocked(before, asked, remembered, steps.prepare);
  if (!added.Ok() && steps.undo) {
    steps.undo(before.All());
  }
  return added;
}

DriveResult DriveBook::AddLocked(const Tables &before, DriveRecord record, bool remembered,
                                 const std::function<DriveResult(DriveRecord &)> &prepare) const {
  if (DriveResult free = CheckFreeIn(before, record.letter, record.server, record.share);
      !free.Ok()) {
    return free;
  }
  if (prepare) {
    if (DriveResult prepared = prepare(record); !prepared.Ok()) {
      return prepared;
    }
    if (!FitsDriveTable(record)) {
      return {DriveCause::BadValue, {}};
    }
  }
  Tables after = before;
  (remembered ? after.remembered : after.session).push_back(record);
  if (DriveResult stored = Store(before, after); !stored.Ok()) {
    return stored;
  }
  const fs::path link = m_places.Link(record.letter);
  std::error_code error;
  if (!record.folder.empty()) {
    fs::create_directories(m_places.LinkFolder(), error);
    fs::create_symlink(record.folder, link, error);
    if (error) {
      Store(after, before);
      return RecordFailure(link);
    }
  }
  std::optional<std::string> bookmarksBefore;
  DriveResult marked = ChangeBookmarks({}, record.bookmark, bookmarksBefore);
  if (marked.Ok() && remembered && !UpdateAutostart(true)) {
    RestoreBookmarks(bookmarksBefore);
    marked = RecordFailure(m_places.Autostart());
  }
  if (!marked.Ok()) {
    if (!record.folder.empty()) {
      fs::remove(link, error);
    }
    Store(after, before);
    return marked;
  }
  DriveResult added;
  added.letter = record.letter;
  return added;
}

DriveResult DriveBook::Remove(char letter, const RemoveSteps &steps) {
  if (!IsDriveLetter(letter)) {
    return {DriveCause::BadValue, {}};
  }
  std::optional<FileLock> lock;
  Tables before;
  if (DriveResult loaded = LockAndLoad(lock, before); !loaded.Ok()) {
    return loaded;
  }
  const DriveRecord *found = before.Find(letter);
  if (found == nullptr) {
    return {DriveCause::NotMapped, {}};
  }
  const DriveRecord record = *found;
  Tables after = before;
  for (auto *table : {&after.remembered, &after.session}) {
    table->erase(std::remove_if(table->begin(), table->end(),
                                [&](const DriveRecord &r) { return r.letter == letter; }),
                 table->end());
  }
  if (steps.release) {
    if (DriveResult released = steps.release(record, after.All()); !released.Ok()) {
      return released;
    }
  }
  std::optional<std::string> bookmarksBefore;
  if (DriveResult marked = ChangeBookmarks(record.bookmark, {}, bookmarksBefore); !marked.Ok()) {
    return marked;
  }
  if (DriveResult stored = Store(before, after); !stored.Ok()) {
    RestoreBookmarks(bookmarksBefore);
    return stored;
  }
  if (Link(letter, record.folder) == LinkState::Ours) {
    std::error_code error;
    fs::remove(m_places.Link(letter), error);
    if (error) {
      Store(after, before);
      RestoreBookmarks(bookmarksBefore);
      return RecordFailure(m_places.Link(letter));
    }
  }
  UpdateAutostart(!after.remembered.empty());
  if (steps.forget) {
    steps.forget(record, after.All());
  }
  return {};
}

DriveResult DriveBook::SetFolder(char letter, const std::string &folder) {
  if (!IsDriveLetter(letter) || folder.empty() ||
      !FitsDriveTable(DriveRecord{letter, "s", "s", {}, {}, folder, {}})) {
    return {DriveCause::BadValue, {}};
  }
  std::optional<FileLock> lock;
  Tables before;
  if (DriveResult loaded = LockAndLoad(lock, before); !loaded.Ok()) {
    return loaded;
  }
  const DriveRecord *found = before.Find(letter);
  if (found == nullptr) {
    return {DriveCause::NotMapped, {}};
  }
  const LinkState state = Link(letter, found->folder);
  if (state == LinkState::Foreign) {
    return {DriveCause::LetterInUse, m_places.Link(letter).string()};
  }
  Tables after = before;
  for (auto *table : {&after.remembered, &after.session}) {
    for (DriveRecord &record : *table) {
      if (record.letter == letter) {
        record.folder = folder;
      }
    }
  }
  if (DriveResult stored = Store(before, after); !stored.Ok()) {
    return stored;
  }
  const fs::path link = m_places.Link(letter);
  std::error_code error;
  if (state == LinkState::Ours) {
    fs::remove(link, error);
  }
  fs::create_directories(m_places.LinkFolder(), error);
  error.clear();
  fs::create_symlink(folder, link, error);
  if (error) {
    Store(after, before);
    return RecordFailure(link);
  }
  return {};
}

} // namespace corvesta
