#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <thread>

#include "app/settings_keys.h"
#include "app/settings_store.h"
#include "platform/app_data_folder.h"
#include "support/temp_folder.h"

using namespace corvesta;
namespace fs = std::filesystem;

namespace {

unsigned Mode(const fs::path &path) {
  struct stat info {};
  EXPECT_EQ(::stat(path.c_str(), &info), 0) << path;
  return info.st_mode & 0777;
}

class SettingsStore : public testing::Test {
protected:
  test::ScopedAppDataFolder appData;
  fs::path folder() const { return appData.SettingsFolder(); }
};

} // namespace

TEST_F(SettingsStore, FirstReadCreatesThePrivateFolderButNoFile) {
  ASSERT_FALSE(fs::exists(folder()));
  std::u16string value = u"untouched";
  EXPECT_FALSE(settings::Read(settings::kSectionLanguage, settings::kKeyLanguage, value));
  EXPECT_EQ(value, u"untouched");
  ASSERT_TRUE(fs::is_directory(folder()));
  EXPECT_EQ(Mode(folder()), 0700u);
  EXPECT_FALSE(fs::exists(appData.SettingsFile()));
}

TEST_F(SettingsStore, FirstWriteCreatesTheFileReadableByTheOwnerOnly) {
  ASSERT_TRUE(settings::Write(u"Current", u"ServName", u"NAS-1"));
  EXPECT_EQ(Mode(appData.SettingsFile()), 0600u);
  std::u16string value;
  EXPECT_TRUE(settings::Read(u"Current", u"ServName", value));
  EXPECT_EQ(value, u"NAS-1");
}

TEST_F(SettingsStore, LoosePermissionsFromEarlierRunsAreTightened) {
  fs::create_directories(folder());
  ::chmod(folder().c_str(), 0755);
  test::WriteFileBytes(appData.SettingsFile(), "[Used]\nFirstOpen=FALSE\n");
  ::chmod(appData.SettingsFile().c_str(), 0644);
  ASSERT_TRUE(settings::Write(u"Current", u"ServName", u"x"));
  EXPECT_EQ(Mode(folder()), 0700u);
  EXPECT_EQ(Mode(appData.SettingsFile()), 0600u);
  std::u16string value;
  EXPECT_TRUE(settings::Read(u"Used", u"FirstOpen", value)); // nothing lost
  EXPECT_EQ(value, u"FALSE");
}

TEST_F(SettingsStore, TighteningTakesOthersOutButNeverAddsTheOwnersRights) {
  const struct {
    unsigned before;
    unsigned after;
  } cases[] = {
      {0755, 0700}, {0750, 0700}, {0700, 0700}, {0500, 0500}, {0555, 0500}, {0300, 0300},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.before);
    fs::create_directories(folder());
    ::chmod(folder().c_str(), c.before);
    std::u16string value;
    settings::Read(u"Current", u"ServName", value);
    EXPECT_EQ(Mode(folder()), c.after);
    ::chmod(folder().c_str(), 0700);
  }
}

TEST_F(SettingsStore, AWriteThatChangesNothingLeavesTheFileInPlace) {
  // The file is replaced (a new inode) only when a value changes or when
  // its rights are looser than the owner's alone.
  auto inode = [this] {
    struct stat info {};
    EXPECT_EQ(::stat(appData.SettingsFile().c_str(), &info), 0);
    return info.st_ino;
  };
  ASSERT_TRUE(
      settings::Write({{u"Current", u"ServName", u"NAS-1"}, {u"NAS-1", u"UserName", u"anna"}}));
  struct Case {
    const char *label;
    unsigned modeBefore;
    std::u16string_view user;
    bool replaced;
  };
  const Case cases[] = {
      {"the same values", 0600, u"anna", false},
      {"the same values in a file others may read", 0644, u"anna", true},
      {"a changed value", 0600, u"bert", true},
      {"the changed value again", 0600, u"bert", false},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.label);
    ::chmod(appData.SettingsFile().c_str(), c.modeBefore);
    const auto before = inode();
    ASSERT_TRUE(
        settings::Write({{u"Current", u"ServName", u"NAS-1"}, {u"NAS-1", u"UserName", c.user}}));
    EXPECT_EQ(settings::LastWriteProblem(), settings::WriteProblem::None);
    EXPECT_EQ(inode() != before, c.replaced);
    EXPECT_EQ(Mode(appData.SettingsFile()), c.replaced ? 0600u : c.modeBefore);
    std::u16string value;
    EXPECT_TRUE(settings::Read(u"NAS-1", u"UserName", value));
    EXPECT_EQ(value, c.user);
  }
}

TEST_F(SettingsStore, MissingAndEmptyValuesReadTheSame) {
  ASSERT_TRUE(settings::WriteEmpty(u"NAS-1", settings::kKeyUserName));
  EXPECT_NE(test::ReadFileBytes(appData.SettingsFile()).find("UserName="),
            std::string::npos); // key present
  std::u16string empty = u"before";
  std::u16string missing = u"before";
  EXPECT_FALSE(settings::Read(u"NAS-1", settings::kKeyUserName, empty));
  EXPECT_FALSE(settings::Read(u"NAS-1", settings::kKeyPassWord, missing));
  EXPECT_EQ(empty, u"before");
  EXPECT_EQ(missing, u"before");
}

TEST_F(SettingsStore, ABoxNamedLikeASectionSharesItWithoutCollisions) {
  for (std::u16string box : {u"Current", u"Used", u"Language"}) {
    ASSERT_TRUE(settings::Write(box, settings::kKeyUserName, u"user-" + box));
  }
  ASSERT_TRUE(settings::Write(u"Current", u"ServName", u"Current"));
  ASSERT_TRUE(settings::Write(u"Used", u"FirstOpen", u"FALSE"));
  ASSERT_TRUE(settings::Write(u"Language", u"Language", u"GER"));
  std::u16string value;
  ASSERT_TRUE(settings::Read(u"Current", u"ServName", value));
  EXPECT_EQ(value, u"Current");
  ASSERT_TRUE(settings::Read(value, settings::kKeyUserName, value));
  EXPECT_EQ(value, u"user-Current");
  ASSERT_TRUE(settings::Read(u"Language", u"Language", value));
  EXPECT_EQ(value, u"GER");
  ASSERT_TRUE(settings::Read(u"Used", u"UserName", value));
  EXPECT_EQ(value, u"user-Used");
}

TEST_F(SettingsStore, NamesMatchRegardlessOfCase) {
  ASSERT_TRUE(settings::Write(u"My NAS", u"PassWord", u"c2VjcmV0"));
  ASSERT_TRUE(settings::Write(u"MY nas", u"PASSWORD", u"bmV3"));
  std::u16string value;
  ASSERT_TRUE(settings::Read(u"my nas", u"password", value));
  EXPECT_EQ(value, u"bmV3");
  std::string text = test::ReadFileBytes(appData.SettingsFile());
  EXPECT_EQ(text.find("PASSWORD"), std::string::npos) << text; // replaced, not added
}

TEST_F(SettingsStore, AValueEditedByHandIsReadAtTheNextAccess) {
  ASSERT_TRUE(settings::Write(u"Language", u"Language", u"FRE"));
  test::WriteFileBytes(appData.SettingsFile(), "[Language]\r\nLanguage = RUS\r\n");
  std::u16string value;
  ASSERT_TRUE(settings::Read(u"Language", u"Language", value));
  EXPECT_EQ(value, u"RUS");
}

TEST_F(SettingsStore, TwoThreadsWritingAtOnceLoseNothing) {
  constexpr int kWrites = 60;
  auto writer = [](std::u16string section) {
    for (int i = 0; i < kWrites; ++i) {
      std::string key = "Key" + std::to_string(i);
      settings::Write(section, std::u16string(key.begin(), key.end()), u"v");
    }
  };
  std::jthread a(writer, u"Alpha");
  std::jthread b(writer, u"Beta");
  a.join();
  b.join();
  for (const char16_t *section : {u"Alpha", u"Beta"}) {
    for (int i = 0; i < kWrites; ++i) {
      std::string key = "Key" + std::to_string(i);
      std::u16string value;
      EXPECT_TRUE(settings::Read(section, std::u16string(key.begin(), key.end()), value)) << key;
    }
  }
  // No temporary file is left behind.
  int files = 0;
  for ([[maybe_unused]] const auto &entry : fs::directory_iterator(folder())) {
    ++files;
  }
  EXPECT_EQ(files, 1);
}

TEST_F(SettingsStore, AFileThatCannotBeReadIsNeverOverwritten) {
  fs::create_directories(appData.SettingsFile()); // a folder where the file should be
  EXPECT_FALSE(settings::Write(u"Current", u"ServName", u"x"));
  EXPECT_TRUE(fs::is_directory(appData.SettingsFile()));
}

TEST_F(SettingsStore, RefusedWritesLeaveTheFileAsItWas) {
  ASSERT_TRUE(settings::Write(u"Current", u"ServName", u"NAS-1"));
  std::string before = test::ReadFileBytes(appData.SettingsFile());
  EXPECT_FALSE(settings::Write(u"Current", u"ServName", u"evil\n[Language]\nLanguage=RUS"));
  EXPECT_EQ(test::ReadFileBytes(appData.SettingsFile()), before);
}

TEST_F(SettingsStore, LongValuesAreCutTo1023Units) {
  std::u16string longValue(1500, u'x');
  ASSERT_TRUE(settings::Write(u"S", u"K", longValue));
  std::u16string value;
  ASSERT_TRUE(settings::Read(u"S", u"K", value));
  EXPECT_EQ(value.size(), settings::kMaxValueLength);
}

TEST(SettingsStoreWithoutFolder, ReadsNothingAndDropsWrites) {
  test::TempFolder temp;
  fs::path blocked = temp.Path() / "file-not-folder";
  test::WriteFileBytes(blocked, "x");
  SetApplicationDataFolderForTesting(blocked); // "Utility" cannot be made inside a file
  std::u16string value = u"kept";
  EXPECT_FALSE(settings::Write(u"Current", u"ServName", u"x"));
  EXPECT_FALSE(settings::Read(u"Current", u"ServName", value));
  EXPECT_EQ(value, u"kept");
  SetApplicationDataFolderForTesting(std::nullopt);
}
