// The drive records on disk: the two tables, the links in ~/Drives and the
// bookmarks, in temporary folders. Foreign and broken files give clear
// errors and lose nothing; a failed change leaves everything as it was.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <mutex>
#include <sstream>
#include <sys/stat.h>
#include <thread>

#include "platform/drive_book.h"
#include "support/temp_folder.h"

namespace corvesta {
namespace {

namespace fs = std::filesystem;

std::string Slurp(const fs::path &path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream buffer;
  buffer << in.rdbuf();
  return buffer.str();
}

void Spit(const fs::path &path, const std::string &text) {
  fs::create_directories(path.parent_path());
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << text;
}

unsigned Mode(const fs::path &path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 ? info.st_mode & 0777 : 0;
}

class DriveBookTest : public testing::Test {
protected:
  DriveBookTest() {
    places.config = temp.Path() / "config";
    places.runtime = temp.Path() / "run";
    places.home = temp.Path() / "home";
    fs::create_directories(places.home);
    fs::create_directories(temp.Path() / "mounts" / "public");
    fs::create_directories(temp.Path() / "mounts" / "photos");
  }

  DriveRecord Record(char letter, const std::string &share) const {
    DriveRecord record;
    record.letter = letter;
    record.server = "10.0.0.2";
    record.share = share;
    record.user = "anna";
    record.box = "HOMESTORE";
    record.folder = (temp.Path() / "mounts" / "public").string();
    // Letter 0: the book chooses it, the bookmark names none.
    record.bookmark = "smb://anna@10.0.0.2/" + share + " " +
                      (letter == 0 ? std::string() : std::string(1, letter) + ": ") + share +
                      " (HOMESTORE)";
    return record;
  }

  // Everything the book may touch, to show that a failure changed nothing.
  std::string Snapshot() const {
    std::string all;
    for (const fs::path &file : {places.RememberedTable(), places.SessionTable(),
                                 places.Bookmarks(), places.Autostart()}) {
      all += file.string() + "=" + (fs::exists(file) ? Slurp(file) : "<none>") + "\n";
    }
    std::error_code error;
    for (char letter = 'A'; letter <= 'Z'; ++letter) {
      if (fs::is_symlink(places.Link(letter), error)) {
        all += std::string(1, letter) + "->" + fs::read_symlink(places.Link(letter)).string();
      }
    }
    return all;
  }

  test::TempFolder temp;
  DrivePlaces places;
};

TEST_F(DriveBookTest, RememberedMappingIsRecordedLinkedAndBookmarkedThenRemovedWhole) {
  const std::string otherBookmarks = "file:///home/anna/Music Music\nsftp://host/x \xc3\xa9";
  Spit(places.Bookmarks(), otherBookmarks);
  DriveBook book(places);
  const DriveRecord record = Record('Z', "Public");
  ASSERT_TRUE(book.Add(record, true).Ok());

  EXPECT_EQ(Mode(places.RememberedTable()), 0600u);
  const std::string table = Slurp(places.RememberedTable());
  EXPECT_NE(table.find("share=Public\n"), std::string::npos);
  EXPECT_NE(table.find("box=HOMESTORE\n"), std::string::npos);
  EXPECT_FALSE(fs::exists(places.SessionTable()));
  EXPECT_EQ(fs::read_symlink(places.Link('Z')), fs::path(record.folder));
  EXPECT_EQ(Slurp(places.Bookmarks()), otherBookmarks + "\n" + record.bookmark + "\n");
  EXPECT_EQ(book.LettersInUse(), "Z");

  std::vector<BookEntry> entries;
  ASSERT_TRUE(book.Entries(entries).Ok());
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_TRUE(entries[0].remembered);
  EXPECT_EQ(entries[0].record.server, "10.0.0.2");

  // While a remembered mapping exists, the session reconnects it at login.
  EXPECT_EQ(Slurp(places.Autostart()), DriveAutostartEntry());

  ASSERT_TRUE(book.Remove('Z').Ok());
  EXPECT_FALSE(fs::exists(places.Autostart()));
  EXPECT_FALSE(fs::exists(fs::symlink_status(places.Link('Z'))));
  EXPECT_EQ(Slurp(places.Bookmarks()), otherBookmarks + "\n");
  EXPECT_EQ(Slurp(places.RememberedTable()), "");
  EXPECT_EQ(book.LettersInUse(), "");
  EXPECT_EQ(book.Remove('Z').cause, DriveCause::NotMapped);
}

TEST_F(DriveBookTest, SessionMappingLivesInTheRuntimeFolderAndNeedsOne) {
  DriveBook book(places);
  ASSERT_TRUE(book.Add(Record('Y', "Photos"), false).Ok());
  EXPECT_TRUE(fs::exists(places.SessionTable()));
  EXPECT_EQ(Mode(places.SessionTable()), 0600u);
  EXPECT_EQ(Mode(places.SessionTable().parent_path()), 0700u);
  EXPECT_FALSE(fs::exists(places.RememberedTable()));
  EXPECT_FALSE(fs::exists(places.Autostart()));

  DrivePlaces noRuntime = places;
  noRuntime.runtime.clear();
  DriveBook without(noRuntime);
  const std::string before = Snapshot();
  const DriveResult result = without.Add(Record('X', "Public"), false);
  EXPECT_EQ(result.cause, DriveCause::RecordFailed);
  EXPECT_NE(result.detail.find("XDG_RUNTIME_DIR"), std::string::npos);
  EXPECT_EQ(Snapshot(), before);
}

TEST_F(DriveBookTest, LettersTakenByTablesOrForeignEntriesAreRefused) {
  DriveBook book(places);
  ASSERT_TRUE(book.Add(Record('Z', "Public"), true).Ok());
  fs::create_directories(places.Link('M'));                // a folder of the user's
  fs::create_symlink("/somewhere/else", places.Link('K')); // a link not ours
  Spit(places.LinkFolder() / "notes.txt", "not a letter");
  EXPECT_EQ(book.LettersInUse(), "KMZ");

  const struct {
    char letter;
    const char *share;
    DriveCause cause;
  } cases[] = {
      {'Z', "Photos", DriveCause::LetterInUse}, {'M', "Photos", DriveCause::LetterInUse},
      {'K', "Photos", DriveCause::LetterInUse}, {'Y', "Public", DriveCause::ShareOnOtherLetter},
      {'y', "Photos", DriveCause::BadValue},    {'Y', "Photos", DriveCause::None},
  };
  for (const auto &c : cases) {
    EXPECT_EQ(book.CheckFree(c.letter, "10.0.0.2", c.share).cause, c.cause) << c.letter;
  }
  const std::string before = Snapshot();
  EXPECT_EQ(book.Add(Record('M', "Photos"), true).cause, DriveCause::LetterInUse);
  EXPECT_EQ(Snapshot(), before);
  EXPECT_TRUE(fs::is_directory(places.Link('M')));
}

TEST_F(DriveBookTest, ForeignOrUnreadableTableIsNeverReplaced) {
  const struct {
    const char *name;
    std::string text;
  } cases[] = {
      {"settings file", "[Language]\nCode=eng\n"},
      {"duplicate letter", "[Z]\nserver=a\nshare=b\n[Z]\nserver=a\nshare=c\n"},
      {"binary", std::string("\x00\x01\x02[Z]", 6)},
  };
  for (const auto &c : cases) {
    Spit(places.RememberedTable(), c.text);
    DriveBook book(places);
    const std::string before = Snapshot();
    const DriveResult added = book.Add(Record('Y', "Photos"), true);
    EXPECT_EQ(added.cause, DriveCause::RecordFailed) << c.name;
    EXPECT_EQ(added.detail, places.RememberedTable().string()) << c.name;
    EXPECT_EQ(book.Add(Record('Y', "Photos"), false).cause, DriveCause::RecordFailed) << c.name;
    EXPECT_EQ(book.Remove('Z').cause, DriveCause::RecordFailed) << c.name;
    EXPECT_EQ(Snapshot(), before) << c.name;
    std::vector<BookEntry> entries;
    EXPECT_EQ(book.Entries(entries).cause, DriveCause::RecordFailed) << c.name;
  }
}

TEST_F(DriveBookTest, FailedBookmarkUndoesTheRecordAndTheLink) {
  fs::create_directories(places.Bookmarks()); // a folder where the file should be
  DriveBook book(places);
  const DriveResult result = book.Add(Record('Z', "Public"), true);
  EXPECT_EQ(result.cause, DriveCause::RecordFailed);
  EXPECT_EQ(result.detail, places.Bookmarks().string());
  EXPECT_FALSE(fs::exists(fs::symlink_status(places.Link('Z'))));
  std::vector<BookEntry> entries;
  ASSERT_TRUE(book.Entries(entries).Ok());
  EXPECT_TRUE(entries.empty());
  EXPECT_EQ(book.LettersInUse(), "");
}

TEST_F(DriveBookTest, RemoveLeavesAnEntryThatIsNoLongerOurs) {
  DriveBook book(places);
  ASSERT_TRUE(book.Add(Record('Z', "Public"), true).Ok());
  fs::remove(places.Link('Z'));
  fs::create_directories(places.Link('Z'));
  Spit(places.Link('Z') / "keep.txt", "mine");
  ASSERT_TRUE(book.Remove('Z').Ok());
  EXPECT_EQ(Slurp(places.Link('Z') / "keep.txt"), "mine");
  EXPECT_EQ(book.LettersInUse(), "Z"); // the user's own folder still holds the name
}

TEST_F(DriveBookTest, SetFolderRestoresALostLinkButNotOverAForeignEntry) {
  DriveBook book(places);
  ASSERT_TRUE(book.Add(Record('Z', "Public"), true).Ok());
  const std::string newFolder = (temp.Path() / "mounts" / "photos").string();
  fs::remove(places.Link('Z'));
  ASSERT_TRUE(book.SetFolder('Z', newFolder).Ok());
  EXPECT_EQ(fs::read_symlink(places.Link('Z')), fs::path(newFolder));
  std::vector<BookEntry> entries;
  ASSERT_TRUE(book.Entries(entries).Ok());
  EXPECT_EQ(entries.at(0).record.folder, newFolder);

  fs::remove(places.Link('Z'));
  fs::create_symlink("/elsewhere", places.Link('Z'));
  EXPECT_EQ(book.SetFolder('Z', newFolder).cause, DriveCause::LetterInUse);
  EXPECT_EQ(fs::read_symlink(places.Link('Z')), fs::path("/elsewhere"));
  EXPECT_EQ(book.SetFolder('Q', newFolder).cause, DriveCause::NotMapped);
}

TEST_F(DriveBookTest, MappingWithoutAFolderGetsNoLink) {
  DriveBook book(places);
  DriveRecord record = Record('Z', "Public");
  record.folder.clear();
  ASSERT_TRUE(book.Add(record, true).Ok());
  EXPECT_FALSE(fs::exists(fs::symlink_status(places.Link('Z'))));
  EXPECT_EQ(book.LettersInUse(), "Z");
  ASSERT_TRUE(book.Remove('Z').Ok());
}

TEST_F(DriveBookTest, ConcurrentWritersLoseNoRecord) {
  // Each thread holds its own lock descriptor, as two processes would.
  std::vector<std::thread> writers;
  for (char letter = 'A'; letter < 'A' + 8; ++letter) {
    writers.emplace_back([this, letter] {
      DriveBook book(places);
      DriveRecord record = Record(letter, std::string("S") + letter);
      record.folder.clear();
      record.bookmark += std::string(1, letter);
      EXPECT_TRUE(book.Add(record, letter % 2 == 0).Ok());
    });
  }
  for (std::thread &writer : writers) {
    writer.join();
  }
  DriveBook book(places);
  EXPECT_EQ(book.LettersInUse(), "ABCDEFGH");
  const std::string bookmarks = Slurp(places.Bookmarks());
  EXPECT_EQ(std::count(bookmarks.begin(), bookmarks.end(), '\n'), 8);
}

TEST_F(DriveBookTest, ATableThatIsALinkIsWrittenThroughAndStaysALink) {
  const fs::path kept = temp.Path() / "dotfiles" / "drives.ini";
  Spit(kept, "");
  const struct {
    const char *name;
    fs::path target;
  } cases[] = {
      {"absolute", kept},
      {"relative", fs::path("..") / ".." / "dotfiles" / "drives.ini"},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.name);
    fs::create_directories(places.RememberedTable().parent_path());
    fs::remove(places.RememberedTable());
    fs::create_symlink(c.target, places.RememberedTable());
    DriveBook book(places);
    ASSERT_TRUE(book.Add(Record('Z', "Public"), true).Ok());
    EXPECT_TRUE(fs::is_symlink(places.RememberedTable()));
    EXPECT_NE(Slurp(kept).find("[Z]\nserver=10.0.0.2\nshare=Public\n"), std::string::npos);
    ASSERT_TRUE(book.Remove('Z').Ok());
    EXPECT_TRUE(fs::is_symlink(places.RememberedTable()));
    EXPECT_EQ(Slurp(kept), "");
  }
}

TEST_F(DriveBookTest, ALinkLoopForATableIsRefusedAndLeftAsItIs) {
  fs::create_directories(places.RememberedTable().parent_path());
  fs::create_symlink(places.RememberedTable(), places.RememberedTable());
  DriveBook book(places);
  EXPECT_EQ(book.Add(Record('Z', "Public"), true).cause, DriveCause::RecordFailed);
  EXPECT_TRUE(fs::is_symlink(places.RememberedTable()));
}

TEST_F(DriveBookTest, AnOpenLetterIsChosenUnderTheLockFromZDown) {
  fs::create_directories(places.Link('Y')); // the user's own folder
  std::vector<std::thread> writers;
  std::mutex lock;
  std::string taken;
  for (int n = 0; n < 6; ++n) {
    writers.emplace_back([&, n] {
      DriveBook book(places);
      DriveRecord record = Record(0, "S" + std::to_string(n));
      record.folder.clear();
      const DriveResult added = book.Add(record, true);
      EXPECT_TRUE(added.Ok()) << static_cast<int>(added.cause);
      std::lock_guard guard(lock);
      taken.push_back(added.letter);
    });
  }
  for (std::thread &writer : writers) {
    writer.join();
  }
  std::sort(taken.begin(), taken.end());
  EXPECT_EQ(taken, "TUVWXZ");
  DriveBook book(places);
  EXPECT_EQ(book.LettersInUse(), "TUVWXYZ");
}

TEST_F(DriveBookTest, TheCallersStepsSeeTheRecordsHeldUnderTheLock) {
  DriveBook book(places);
  ASSERT_TRUE(book.Add(Record('Z', "Public"), true).Ok());
  const std::string before = Snapshot();

  // A letter another mapping holds: undo is told who holds it, nothing is
  // prepared or written.
  bool prepared = false;
  std::vector<DriveRecord> held;
  AddSteps steps;
  steps.prepare = [&](DriveRecord &) {
    prepared = true;
    return DriveResult{};
  };
  steps.undo = [&](const std::vector<DriveRecord> &records) { held = records; };
  EXPECT_EQ(book.Add(Record('Z', "Photos"), true, steps).cause, DriveCause::LetterInUse);
  EXPECT_FALSE(prepared);
  ASSERT_EQ(held.size(), 1u);
  EXPECT_EQ(held[0].share, "Public");
  EXPECT_EQ(Snapshot(), before);

  // A failed preparation ends the addition with nothing written.
  steps.prepare = [](DriveRecord &) { return DriveResult{DriveCause::NoAnswer, {}}; };
  EXPECT_EQ(book.Add(Record(0, "Photos"), true, steps).cause, DriveCause::NoAnswer);
  EXPECT_EQ(Snapshot(), before);

  // The preparation completes the record once its letter is known.
  steps.prepare = [](DriveRecord &record) {
    record.bookmark = std::string("smb://x ") + record.letter + ": Photos";
    return DriveResult{};
  };
  const DriveResult added = book.Add(Record(0, "Photos"), true, steps);
  ASSERT_TRUE(added.Ok());
  EXPECT_EQ(added.letter, 'Y');
  EXPECT_NE(Slurp(places.Bookmarks()).find("smb://x Y: Photos\n"), std::string::npos);

  // A refused release keeps the letter whole; the others are named.
  const std::string mapped = Snapshot();
  std::vector<DriveRecord> others;
  RemoveSteps removal;
  removal.release = [&](const DriveRecord &record, const std::vector<DriveRecord> &rest) {
    EXPECT_EQ(record.letter, 'Y');
    others = rest;
    return DriveResult{DriveCause::Failed, {}};
  };
  EXPECT_EQ(book.Remove('Y', removal).cause, DriveCause::Failed);
  ASSERT_EQ(others.size(), 1u);
  EXPECT_EQ(others[0].letter, 'Z');
  EXPECT_EQ(Snapshot(), mapped);

  std::vector<DriveRecord> remaining{Record('Q', "none")};
  removal.release = {};
  removal.forget = [&](const DriveRecord &, const std::vector<DriveRecord> &rest) {
    remaining = rest;
  };
  ASSERT_TRUE(book.Remove('Y', removal).Ok());
  ASSERT_EQ(remaining.size(), 1u);
  EXPECT_EQ(remaining[0].letter, 'Z');
  EXPECT_EQ(Snapshot(), before);
}

} // namespace
} // namespace corvesta
