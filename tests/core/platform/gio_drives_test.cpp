// The GIO network drives without a desktop session: the share's address,
// and every refusal that must come before anything is mounted or recorded.
// GIO runs with its local file system only here, as on a desktop without
// GVfs.
#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/gio/gio_network_drives.h"
#include "platform/gio/smb_uri.h"
#include "support/temp_folder.h"

namespace corvesta {
namespace {

namespace fs = std::filesystem;

std::vector<DriveMapping> Listed(GioNetworkDrives &drives) {
  std::vector<DriveMapping> mappings;
  const DriveResult read = drives.List(mappings);
  EXPECT_TRUE(read.Ok()) << read.detail;
  return mappings;
}

TEST(SmbUri, EscapesEveryPart) {
  const struct {
    const char *server;
    const char *share;
    const char *user;
    const char *uri;
  } cases[] = {
      {"192.168.1.20", "Public", "anna", "smb://anna@192.168.1.20/Public"},
      {"192.168.1.20", "Public", "", "smb://192.168.1.20/Public"},
      {"10.0.0.2", "My Music #1?", "anna", "smb://anna@10.0.0.2/My%20Music%20%231%3F"},
      {"10.0.0.2", "a/b", "x@y:z", "smb://x%40y%3Az@10.0.0.2/a%2Fb"},
      {"10.0.0.2", "Фото", "anna", "smb://anna@10.0.0.2/%D0%A4%D0%BE%D1%82%D0%BE"},
  };
  for (const auto &c : cases) {
    EXPECT_EQ(SmbUri(c.server, c.share, c.user), c.uri) << c.share;
  }
}

class GioDrivesTest : public testing::Test {
protected:
  static void SetUpTestSuite() { setenv("GIO_USE_VFS", "local", 1); }

  GioDrivesTest() {
    places.config = temp.Path() / "config";
    places.runtime = temp.Path() / "run";
    places.home = temp.Path() / "home";
    fs::create_directories(places.home);
  }

  DriveMapRequest Request(char letter) const {
    DriveMapRequest request;
    request.letter = letter;
    request.server = "127.0.0.3";
    request.share = "Public";
    request.user = "anna";
    request.password = "anna2024";
    request.box = "HOMESTORE";
    request.remember = true;
    return request;
  }

  test::TempFolder temp;
  DrivePlaces places;
};

TEST_F(GioDrivesTest, RefusalsBeforeAnyMountChangeNothing) {
  fs::create_directories(places.Link('M')); // the user's own folder
  GioNetworkDrives drives(places);
  DriveMapRequest semicolon = Request('Z');
  semicolon.user = "WORKGROUP;anna";
  DriveMapRequest lowerCase = Request('z');
  const struct {
    const char *name;
    DriveMapRequest request;
    DriveCause cause;
  } cases[] = {
      {"user name with ';'", semicolon, DriveCause::UserNameWithSemicolon},
      {"letter outside A-Z", lowerCase, DriveCause::BadValue},
      {"letter held by a foreign entry", Request('M'), DriveCause::LetterInUse},
      {"no smb in this desktop", Request('Z'), DriveCause::NoDesktopService},
  };
  for (const auto &c : cases) {
    EXPECT_EQ(drives.Map(c.request, {}).cause, c.cause) << c.name;
  }
  EXPECT_FALSE(fs::exists(places.RememberedTable()));
  EXPECT_FALSE(fs::exists(places.Bookmarks()));
  EXPECT_EQ(drives.LettersInUse(), "M");
  EXPECT_TRUE(Listed(drives).empty());
  EXPECT_EQ(drives.Unmap('Z', {}).cause, DriveCause::NotMapped);
}

TEST_F(GioDrivesTest, ARecordedLetterIsListedAsNotConnectedAndUnmapsWhole) {
  DriveBook book(places);
  DriveRecord record{'Z', "127.0.0.3", "Public", "anna", "HOMESTORE", "", "smb://x Z: Public"};
  ASSERT_TRUE(book.Add(record, true).Ok());
  GioNetworkDrives drives(places);
  const std::vector<DriveMapping> mappings = Listed(drives);
  ASSERT_EQ(mappings.size(), 1u);
  EXPECT_EQ(mappings[0].letter, 'Z');
  EXPECT_TRUE(mappings[0].remembered);
  EXPECT_FALSE(mappings[0].connected);
  EXPECT_EQ(drives.Map(Request('Y'), {}).cause, DriveCause::ShareOnOtherLetter);
  EXPECT_TRUE(drives.Unmap('Z', {}).Ok());
  EXPECT_TRUE(Listed(drives).empty());
  EXPECT_FALSE(fs::exists(places.Autostart()));
}

} // namespace
} // namespace corvesta
