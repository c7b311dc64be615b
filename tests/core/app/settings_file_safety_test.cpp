// The settings file is never lost: a link is written through, a legacy
// 8-bit file is read as Latin-1 and left alone, and every dropped write
// says why.
#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <sstream>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "app/ini_document.h"
#include "app/remembered_settings.h"
#include "app/settings_store.h"
#include "i18n/own_texts.h"
#include "platform/app_data_folder.h"
#include "platform/text_codec.h"
#include "support/temp_folder.h"

using namespace corvesta;
namespace fs = std::filesystem;

namespace {

class SettingsFileSafety : public testing::Test {
public:
  test::ScopedAppDataFolder appData;
  fs::path folder() const { return appData.SettingsFolder(); }
  fs::path file() const { return appData.SettingsFile(); }
  void MakeFolder() const { fs::create_directories(folder()); }
};

TEST_F(SettingsFileSafety, ALinkIsWrittenThroughAndStaysALink) {
  struct Case {
    const char *label;
    bool viaSecondLink;
  };
  const Case cases[] = {{"an absolute link to the target", false},
                        {"a relative link to a relative link to the target", true}};
  const fs::path dotfiles = appData.Path() / "dotfiles";
  const fs::path target = dotfiles / "utility.ini";
  for (const Case &c : cases) {
    SCOPED_TRACE(c.label);
    fs::remove_all(folder());
    fs::remove_all(dotfiles);
    fs::create_directories(dotfiles);
    test::WriteFileBytes(target, "; kept by hand\n[Language]\nLanguage=FRE\n");
    MakeFolder();
    if (c.viaSecondLink) {
      fs::create_directories(folder() / "links");
      fs::create_symlink("../../dotfiles/utility.ini", folder() / "links" / "utility.ini");
      fs::create_symlink("links/utility.ini", file());
    } else {
      fs::create_symlink(target, file());
    }

    ASSERT_TRUE(settings::Write(u"Current", u"ServName", u"NAS-1"));
    EXPECT_EQ(settings::LastWriteProblem(), settings::WriteProblem::None);
    EXPECT_TRUE(fs::is_symlink(file()));
    const std::string written = test::ReadFileBytes(target);
    EXPECT_NE(written.find("; kept by hand"), std::string::npos) << written;
    EXPECT_NE(written.find("Language=FRE"), std::string::npos) << written;
    EXPECT_NE(written.find("ServName=NAS-1"), std::string::npos) << written;
    // No temporary file is left beside the target.
    EXPECT_EQ(std::distance(fs::directory_iterator(dotfiles), fs::directory_iterator()), 1);
    std::u16string value;
    EXPECT_TRUE(settings::Read(u"Current", u"ServName", value));
    EXPECT_EQ(value, u"NAS-1");
  }
}

TEST_F(SettingsFileSafety, ALinkLoopIsRefused) {
  MakeFolder();
  fs::create_symlink("Utility.ini", file());
  EXPECT_FALSE(settings::Write(u"Current", u"ServName", u"NAS-1"));
  EXPECT_TRUE(fs::is_symlink(file()));
}

// The write runs as a user who cannot write the link's target. As root
// (who may write anything) a child process takes the identity of nobody.
TEST_F(SettingsFileSafety, ALinkToAFileTheUserCannotWriteIsRefused) {
  const fs::path locked = appData.Path() / "locked";
  fs::create_directories(locked);
  const fs::path target = locked / "utility.ini";
  const std::string before = "[Current]\nServName=OLD\n";
  test::WriteFileBytes(target, before);
  ::chmod(target.c_str(), 0444);
  ::chmod(locked.c_str(), 0555);
  MakeFolder();
  fs::create_symlink(target, file());

  const bool asRoot = ::geteuid() == 0;
  if (asRoot) {
    constexpr uid_t kNobody = 65534;
    ASSERT_EQ(::chmod(appData.Path().c_str(), 0755), 0);
    ASSERT_EQ(::chown(folder().c_str(), kNobody, kNobody), 0);
    ASSERT_EQ(::lchown(file().c_str(), kNobody, kNobody), 0);
  }
  const auto attempt = [] {
    const bool written = settings::Write(u"Current", u"ServName", u"NEW");
    const bool told = !settings::LastWriteProblemText().empty();
    return !written && settings::LastWriteProblem() == settings::WriteProblem::LinkNotWritable &&
           told;
  };
  if (asRoot) {
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      const bool dropped = ::setgid(65534) == 0 && ::setuid(65534) == 0;
      ::_exit(dropped && attempt() ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  } else {
    EXPECT_TRUE(attempt());
  }
  ::chmod(locked.c_str(), 0755);
  EXPECT_TRUE(fs::is_symlink(file()));
  EXPECT_EQ(test::ReadFileBytes(target), before);
}

TEST_F(SettingsFileSafety, ALegacy8BitFileIsReadAsLatin1AndNeverRewritten) {
  MakeFolder();
  const std::string legacy = "[Current]\nServName=B\xfcro-NAS\n[B\xfcro-NAS]\nUserName=j\xf6rg\n";
  test::WriteFileBytes(file(), legacy);
  std::u16string value;
  ASSERT_TRUE(settings::Read(u"Current", u"ServName", value));
  EXPECT_EQ(value, u"B\u00fcro-NAS");
  EXPECT_EQ(RememberedLogin("B\xc3\xbcro-NAS").user, "j\xc3\xb6rg");

  EXPECT_FALSE(settings::Write(u"Current", u"LoginOutTime", u"300000:"));
  EXPECT_EQ(settings::LastWriteProblem(), settings::WriteProblem::Legacy8Bit);
  EXPECT_EQ(test::ReadFileBytes(file()), legacy);
  const std::string message = Utf16ToUtf8(settings::LastWriteProblemText());
  EXPECT_NE(message.find(file().string()), std::string::npos) << message;
  EXPECT_NE(message.find("is not UTF-8 text"), std::string::npos) << message;
}

TEST(IniDocumentEncoding, OnlyBytesThatAreNeitherUtf8NorUtf16AreLegacy) {
  EXPECT_FALSE(IniDocument::IsLegacy8Bit(""));
  EXPECT_FALSE(IniDocument::IsLegacy8Bit("[A]\nk=B\xc3\xbcro\n"));
  EXPECT_FALSE(IniDocument::IsLegacy8Bit("\xef\xbb\xbf[A]\nk=v\n"));
  EXPECT_FALSE(IniDocument::IsLegacy8Bit(std::string("\xff\xfe[\0A\0]\0", 8)));
  EXPECT_TRUE(IniDocument::IsLegacy8Bit("[A]\nk=B\xfcro\n"));
  EXPECT_TRUE(IniDocument::IsLegacy8Bit("\xef\xbb\xbf[A]\nk=\xe9\n"));
  EXPECT_EQ(IniDocument::Parse("[A]\nk=caf\xe9\n").Get(u"A", u"k"), u"caf\u00e9");
}

// Every way a write can be dropped is told, with the file named where there
// is one, and the next good write clears it.
TEST_F(SettingsFileSafety, EveryDroppedWriteSaysWhy) {
  struct Case {
    const char *label;
    std::function<void(const SettingsFileSafety &)> spoil;
    settings::WriteProblem problem;
    std::u16string_view pattern;
  };
  const Case cases[] = {
      {"a folder where the file should be", [](const auto &t) { fs::create_directories(t.file()); },
       settings::WriteProblem::NotWritten, kSettingsNotSavedText},
      {"a file larger than settings ever are",
       [](const auto &t) {
         t.MakeFolder();
         test::WriteFileBytes(t.file(), "[A]\n" + std::string(5 * 1024 * 1024, ';'));
       },
       settings::WriteProblem::NotWritten, kSettingsNotSavedText},
      {"a file where the folder should be",
       [](const auto &t) { test::WriteFileBytes(t.folder(), "x"); },
       settings::WriteProblem::NoFolder, kSettingsNoFolderText},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.label);
    fs::remove_all(folder());
    c.spoil(*this);
    EXPECT_FALSE(StoreLogin("NAS-1", "admin", "secret12"));
    EXPECT_EQ(settings::LastWriteProblem(), c.problem);
    const std::string message = Utf16ToUtf8(settings::LastWriteProblemText());
    const std::string pattern = Utf16ToUtf8(c.pattern);
    EXPECT_EQ(message.substr(0, 10), pattern.substr(0, 10)) << message;
    if (pattern.find("%s") != std::string::npos) {
      EXPECT_NE(message.find(file().string()), std::string::npos) << message;
    }
  }
  fs::remove_all(folder());
  EXPECT_TRUE(StoreLogin("NAS-1", "admin", "secret12"));
  EXPECT_EQ(settings::LastWriteProblem(), settings::WriteProblem::None);
  EXPECT_TRUE(settings::LastWriteProblemText().empty());
}

} // namespace
