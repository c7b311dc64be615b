// The GIO network drives against real Samba servers, as an unprivileged
// desktop user in a session of its own (scripts/sim-netns --samba with
// tests/desktop/boxes.json): HOMESTORE serves its shares, FROZEN's server
// hangs, NOSMB has none. What a mapping makes (mount, ~/Drives link, share
// files, bookmark, record), that unmapping removes all of it, that a mount
// made beforehand is taken, and a cause for each failure that changes
// nothing (a hung server is one that did not answer, also when GVfs gives
// up on it before the call's limit).
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "platform/drive_book.h"
#include "platform/gio/gio_network_drives.h"

namespace corvesta {
namespace {

namespace fs = std::filesystem;

constexpr char kHome[] = "127.0.0.3";
constexpr char kFrozen[] = "127.0.0.4";
constexpr char kNoSamba[] = "127.0.0.5";
constexpr char kPassword[] = "anna2024";
// The call limit here: 3 s instead of 15.
constexpr double kTimeScale = 0.2;

std::string Slurp(const fs::path &path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream buffer;
  buffer << in.rdbuf();
  return buffer.str();
}

DriveMapRequest Request(char letter, const std::string &server, const std::string &share,
                        const std::string &password = kPassword) {
  DriveMapRequest request;
  request.letter = letter;
  request.server = server;
  request.share = share;
  request.user = "anna";
  request.password = password;
  request.box = "HOMESTORE";
  request.remember = true;
  return request;
}

class GioSession : public testing::Test {
protected:
  static void SetUpTestSuite() { SetDriveTimeScaleForTests(kTimeScale); }

  void SetUp() override {
    if (std::getenv("SAMBA_ROOT") == nullptr) {
      GTEST_SKIP() << "runs under scripts/sim-netns --samba only";
    }
    std::optional<DrivePlaces> found = DrivePlaces::FromEnvironment();
    ASSERT_TRUE(found);
    places = *found;
    drives = std::make_unique<GioNetworkDrives>(places);
  }

  void TearDown() override {
    if (drives) {
      for (const DriveMapping &mapping : Listed()) {
        drives->Unmap(mapping.letter, {});
      }
    }
  }

  fs::path ShareFolder(const std::string &share) const {
    return fs::path(std::getenv("SAMBA_ROOT")) / "HOMESTORE" / "shares" / share;
  }

  // The records and links as they stand, to show that nothing changed.
  std::string Records() const {
    std::string all;
    for (const fs::path &file : {places.RememberedTable(), places.Bookmarks()}) {
      all += fs::exists(file) ? Slurp(file) : "<none>";
    }
    std::error_code error;
    for (const auto &entry : fs::directory_iterator(places.LinkFolder(), error)) {
      all += entry.path().filename().string();
    }
    for (const DriveMapping &mapping : Listed()) {
      all += std::string(1, mapping.letter) + (mapping.connected ? "+" : "-");
    }
    return all;
  }

  // The drives as List reports them; the records must be readable.
  std::vector<DriveMapping> Listed() const {
    std::vector<DriveMapping> mappings;
    const DriveResult read = drives->List(mappings);
    EXPECT_TRUE(read.Ok()) << read.detail;
    return mappings;
  }

  DrivePlaces places;
  std::unique_ptr<GioNetworkDrives> drives;
};

TEST_F(GioSession, MappedShareIsReadAndWrittenThroughTheLinkAndUnmappedWhole) {
  const DriveResult mapped = drives->Map(Request('Z', kHome, "Photos"), {});
  ASSERT_TRUE(mapped.Ok()) << static_cast<int>(mapped.cause) << " " << mapped.detail;

  const std::vector<DriveMapping> list = Listed();
  ASSERT_EQ(list.size(), 1u);
  EXPECT_TRUE(list[0].connected);
  EXPECT_TRUE(list[0].remembered);
  EXPECT_EQ(list[0].share, "Photos"); // as the box spells it
  ASSERT_FALSE(list[0].folder.empty());
  EXPECT_EQ(fs::read_symlink(places.Link('Z')), fs::path(list[0].folder));

  std::ofstream(ShareFolder("Photos") / "from-the-box.txt") << "box";
  EXPECT_EQ(Slurp(places.Link('Z') / "from-the-box.txt"), "box");
  std::ofstream(places.Link('Z') / "from-the-pc.txt") << "pc";
  EXPECT_EQ(Slurp(ShareFolder("Photos") / "from-the-pc.txt"), "pc");

  EXPECT_NE(Slurp(places.Bookmarks()).find("smb://anna@127.0.0.3/Photos Z: Photos (HOMESTORE)\n"),
            std::string::npos);
  EXPECT_NE(Slurp(places.RememberedTable()).find("share=Photos\n"), std::string::npos);
  EXPECT_EQ(Slurp(places.RememberedTable()).find(kPassword), std::string::npos);
  EXPECT_TRUE(fs::exists(places.Autostart()));

  const std::string folder = list[0].folder;
  ASSERT_TRUE(drives->Unmap('Z', {}).Ok());
  EXPECT_FALSE(fs::exists(fs::symlink_status(places.Link('Z'))));
  EXPECT_EQ(Slurp(places.Bookmarks()).find("Z: Photos"), std::string::npos);
  EXPECT_EQ(Slurp(places.RememberedTable()), "");
  EXPECT_FALSE(fs::exists(places.Autostart()));
  EXPECT_TRUE(Listed().empty());
  std::error_code error;
  EXPECT_FALSE(fs::exists(fs::path(folder) / "from-the-pc.txt", error)); // the mount is gone
}

TEST_F(GioSession, AMountMadeBeforehandIsTaken) {
  ASSERT_TRUE(drives->Map(Request('Y', kHome, "Public"), {}).Ok());
  // The records go, the mount stays: as if it had been mounted by hand.
  DriveBook book(places);
  ASSERT_TRUE(book.Remove('Y').Ok());
  ASSERT_TRUE(Listed().empty());
  // A wrong password does not matter: nothing is asked.
  const DriveResult taken = drives->Map(Request('X', kHome, "Public", "wrong-password"), {});
  EXPECT_TRUE(taken.Ok()) << static_cast<int>(taken.cause);
  const std::vector<DriveMapping> list = Listed();
  ASSERT_EQ(list.size(), 1u);
  EXPECT_TRUE(list[0].connected);
}

TEST_F(GioSession, EachFailureHasItsCauseAndChangesNothing) {
  ASSERT_TRUE(drives->Map(Request('Z', kHome, "Photos"), {}).Ok());
  DriveMapRequest admin = Request('Y', kHome, "Public", "wrong-password");
  admin.user = "admin";
  DriveMapRequest semicolon = Request('V', kHome, "Public");
  semicolon.user = "WORKGROUP;anna";
  const struct {
    const char *name;
    DriveMapRequest request;
    DriveCause cause;
  } cases[] = {
      // The keyring holds anna's password by now, and GVfs takes it first.
      {"wrong password", admin, DriveCause::Refused},
      {"a share of others", Request('Y', kHome, "Backup"), DriveCause::Refused},
      {"no such share", Request('Y', kHome, "Nothing"), DriveCause::NoSuchShare},
      {"no file sharing", Request('Y', kNoSamba, "Public"), DriveCause::NoFileSharing},
      {"a hung server", Request('Y', kFrozen, "Public"), DriveCause::NoAnswer},
      {"letter in use", Request('Z', kHome, "Public"), DriveCause::LetterInUse},
      {"share on another letter", Request('Y', kHome, "Photos"), DriveCause::ShareOnOtherLetter},
      {"user name with ';'", semicolon, DriveCause::UserNameWithSemicolon},
      // GVfs cannot take it, though its SMB back end is there.
      {"a share name with '/'", Request('Y', kHome, "a/b"), DriveCause::Unsupported},
  };
  const std::string before = Records();
  for (const auto &c : cases) {
    const auto start = std::chrono::steady_clock::now();
    const DriveResult result = drives->Map(c.request, {});
    const auto took = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(result.cause, c.cause) << c.name << " (" << result.detail << ")";
    EXPECT_EQ(Records(), before) << c.name;
    // Bounded: the limit, the cancel's grace and the port probe at most.
    EXPECT_LT(took, DriveCallLimit() + std::chrono::seconds(4)) << c.name;
  }
}

TEST_F(GioSession, AServerThatTakesConnectionsButNeverAnswersDidNotAnswer) {
  // A limit longer than GVfs's own wait, so that GVfs reports its failure
  // and the cause comes from asking the box's port.
  SetDriveTimeScaleForTests(2.5);
  DriveMapping mapping;
  mapping.letter = 'X';
  mapping.server = kFrozen;
  mapping.share = "Public";
  mapping.user = "anna";
  const DriveResult result = drives->Reconnect(mapping, {"anna", kPassword, true}, {});
  SetDriveTimeScaleForTests(kTimeScale);
  EXPECT_EQ(result.cause, DriveCause::NoAnswer) << result.detail;
}

TEST_F(GioSession, UnmapOfAnUnmappedLetterSaysSo) {
  EXPECT_EQ(drives->Unmap('Q', {}).cause, DriveCause::NotMapped);
}

} // namespace
} // namespace corvesta
