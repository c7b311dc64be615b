// The drive records as text: the strict table format and the bookmark lines.
#include <gtest/gtest.h>

#include "platform/drive_table.h"
#include "platform/gtk_bookmarks.h"

namespace corvesta {
namespace {

TEST(DriveTable, RoundTripsEveryFieldInLetterOrder) {
  std::vector<DriveRecord> records{
      {'Z', "192.168.1.20", "Public", "anna", "HOMESTORE", "/run/user/1000/gvfs/x", "smb://a Z:"},
      {'B', "10.0.0.2", "My Music = old", "", "", "", ""},
  };
  const std::string text = SerializeDriveTable(records);
  EXPECT_EQ(text.find("[B]"), 0u);
  const std::optional<std::vector<DriveRecord>> back = ParseDriveTable(text);
  ASSERT_TRUE(back);
  ASSERT_EQ(back->size(), 2u);
  EXPECT_EQ((*back)[0].letter, 'B');
  EXPECT_EQ((*back)[0].share, "My Music = old");
  EXPECT_EQ((*back)[1].letter, 'Z');
  EXPECT_EQ((*back)[1].user, "anna");
  EXPECT_EQ((*back)[1].box, "HOMESTORE");
  EXPECT_EQ((*back)[1].folder, "/run/user/1000/gvfs/x");
  EXPECT_EQ((*back)[1].bookmark, "smb://a Z:");
  EXPECT_EQ(text.find("password"), std::string::npos);
}

TEST(DriveTable, RefusesWhatIsNoDriveTable) {
  const struct {
    const char *name;
    std::string text;
    bool valid;
  } cases[] = {
      {"empty", "", true},
      {"blank lines", "\n[Y]\nserver=a\nshare=b\n\n", true},
      {"settings file", "[Language]\nCode=eng\n", false},
      {"lower-case letter", "[z]\nserver=a\nshare=b\n", false},
      {"two letters in a section", "[ZZ]\nserver=a\nshare=b\n", false},
      {"a letter twice", "[Z]\nserver=a\nshare=b\n[Z]\nserver=c\nshare=d\n", false},
      {"unknown key", "[Z]\nserver=a\nshare=b\npassword=x\n", false},
      {"a key twice", "[Z]\nserver=a\nserver=c\nshare=b\n", false},
      {"no server", "[Z]\nshare=b\n", false},
      {"entry before any section", "server=a\n[Z]\nserver=a\nshare=b\n", false},
      {"line without '='", "[Z]\nserver=a\nshare=b\njunk\n", false},
      {"Windows line ends", "[Z]\r\nserver=a\r\nshare=b\r\n", false},
      {"a carriage return in a value", "[Z]\nserver=a\r\nshare=b\n", false},
      {"zero byte", std::string("[Z]\nserver=a\0\nshare=b\n", 22), false},
  };
  for (const auto &c : cases) {
    EXPECT_EQ(ParseDriveTable(c.text).has_value(), c.valid) << c.name;
  }
}

TEST(DriveTable, TextsWithLineBreaksDoNotFit) {
  DriveRecord record{'Z', "a", "b", "", "", "", ""};
  EXPECT_TRUE(FitsDriveTable(record));
  record.share = "b\n[Y]";
  EXPECT_FALSE(FitsDriveTable(record));
  record.share = "b";
  record.box = "x\ry";
  EXPECT_FALSE(FitsDriveTable(record));
  record.box = "";
  record.letter = 'z';
  EXPECT_FALSE(FitsDriveTable(record));
}

TEST(GtkBookmarks, LineNamesLetterShareAndBox) {
  EXPECT_EQ(MakeBookmarkLine("smb://anna@10.0.0.2/Public", 'Z', "Public", "HOMESTORE", "10.0.0.2"),
            "smb://anna@10.0.0.2/Public Z: Public (HOMESTORE)");
  EXPECT_EQ(MakeBookmarkLine("smb://10.0.0.2/P", 'Y', "P", "", "10.0.0.2"),
            "smb://10.0.0.2/P Y: P (10.0.0.2)");
}

TEST(GtkBookmarks, AddAndRemoveKeepEveryOtherByte) {
  const std::string line = "smb://10.0.0.2/P Z: P (BOX)";
  const struct {
    const char *name;
    std::string file;
    std::string added;
  } cases[] = {
      {"missing file", "", line + "\n"},
      {"ends with a line end", "file:///home/a/Music\n", "file:///home/a/Music\n" + line + "\n"},
      {"last line without end", "file:///x Foo", "file:///x Foo\n" + line + "\n"},
      {"odd bytes and CRLF", "file:///%C3%A9 \xff\r\n\n",
       "file:///%C3%A9 \xff\r\n\n" + line + "\n"},
      {"already there", "a\n" + line + "\nb", "a\n" + line + "\nb"},
  };
  for (const auto &c : cases) {
    const std::string added = AddBookmarkLine(c.file, line);
    EXPECT_EQ(added, c.added) << c.name;
    const std::string removed = RemoveBookmarkLine(added, line);
    EXPECT_EQ(removed.find(line), std::string::npos) << c.name;
    if (c.file.find(line) == std::string::npos) {
      // Back to the file as it was, but for the line end the add gave it.
      EXPECT_EQ(removed.substr(0, c.file.size()), c.file) << c.name;
      EXPECT_LE(removed.size(), c.file.size() + 1) << c.name;
    }
  }
}

TEST(GtkBookmarks, RemoveTakesOnlyTheWholeLine) {
  const std::string line = "smb://h/P Z: P (BOX)";
  const std::string file = "smb://h/P Z: P (BOX) extra\n" + line + "\nx" + line + "\n" + line;
  EXPECT_EQ(RemoveBookmarkLine(file, line), "smb://h/P Z: P (BOX) extra\nx" + line + "\n");
}

} // namespace
} // namespace corvesta
