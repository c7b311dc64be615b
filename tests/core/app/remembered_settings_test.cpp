// What the program remembers between runs, as it lands in the settings file
// and as a file edited by hand reads back.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "app/remembered_settings.h"
#include "app/settings_store.h"
#include "support/temp_folder.h"

using namespace corvesta;

namespace {

class RememberedSettings : public testing::Test {
protected:
  test::ScopedAppDataFolder appData;

  std::string FileText() const {
    std::ifstream in(appData.SettingsFile(), std::ios::binary);
    std::stringstream buffer;
    buffer << in.rdbuf();
    return buffer.str();
  }
  void WriteFile(const std::string &text) const {
    ASSERT_TRUE(settings::FilePath().has_value());
    std::ofstream out(appData.SettingsFile(), std::ios::binary | std::ios::trunc);
    out << text;
  }
  bool FileHolds(const std::string &line) const {
    return FileText().find(line + "\n") != std::string::npos;
  }
};

TEST_F(RememberedSettings, ALoginIsStoredAsTextAndBase64AndReadBack) {
  struct Case {
    const char *user;
    const char *password;
    const char *stored; // the "PassWord" value
  };
  const Case cases[] = {
      {"admin", "secret", "c2VjcmV0"},
      {"jo", "", ""},
      {"anna", "\xff\xfe", "//4="}, // Base64 with "/" and "=" stored as it is
      {"émile", "pässwort", "cMOkc3N3b3J0"},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.user);
    ASSERT_TRUE(StoreLogin("NAS-1", c.user, c.password));
    EXPECT_TRUE(FileHolds(std::string("UserName=") + c.user)) << FileText();
    EXPECT_TRUE(FileHolds(std::string("PassWord=") + c.stored)) << FileText();
    const StoredLogin read = RememberedLogin("NAS-1");
    EXPECT_EQ(read.user, c.user);
    // Bytes that are not UTF-8 text are stored, but never read back as a
    // password that would then be sent changed.
    const bool text = std::string_view(c.password) != "\xff\xfe";
    EXPECT_EQ(read.password, text ? c.password : "");
  }
}

TEST_F(RememberedSettings, APasswordEditedByHandIntoSomethingElseIsNoPassword) {
  struct Case {
    const char *stored;
    const char *password;
  };
  const Case cases[] = {
      {"c2VjcmV0", "secret"}, {"c2VjcmV0!", ""}, // not Base64
      {"c2V jcmV0", ""},                         // a blank inside
      {"c2VjcmU", "secre"},                      // fill left out is still Base64
      {"c2VjcmV0=", ""},                         // a fill too many
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.stored);
    WriteFile(std::string("[NAS-1]\nUserName=admin\nPassWord=") + c.stored + "\n");
    const StoredLogin read = RememberedLogin("NAS-1");
    EXPECT_EQ(read.user, "admin");
    EXPECT_EQ(read.password, c.password);
  }
}

TEST_F(RememberedSettings, ForgettingKeepsBothKeysEmptyAndLeavesOtherBoxesAlone) {
  ASSERT_TRUE(StoreLogin("NAS-1", "admin", "secret"));
  ASSERT_TRUE(StoreLogin("NAS-2", "jo", "other1"));
  ASSERT_TRUE(ForgetLogin("NAS-1"));
  EXPECT_TRUE(FileHolds("UserName=")) << FileText();
  EXPECT_TRUE(FileHolds("PassWord=")) << FileText();
  const StoredLogin forgotten = RememberedLogin("NAS-1");
  EXPECT_EQ(forgotten.user, "");
  EXPECT_EQ(forgotten.password, "");
  EXPECT_EQ(RememberedLogin("NAS-2").password, "other1");
}

TEST_F(RememberedSettings, ABoxWithoutANameHasNoSection) {
  ASSERT_TRUE(StoreLogin("NAS-1", "admin", "secret"));
  const std::string before = FileText();
  EXPECT_FALSE(StoreLogin("", "admin", "secret"));
  EXPECT_FALSE(ForgetLogin(""));
  EXPECT_EQ(FileText(), before);
  EXPECT_EQ(RememberedLogin("").user, "");
}

TEST_F(RememberedSettings, ARefusalForgetsTheLoginOfTheLastBoxOnly) {
  EXPECT_EQ(LastBox(), std::nullopt);
  EXPECT_FALSE(ForgetLastBoxLogin()); // no last box: nothing to empty
  ASSERT_TRUE(StoreLogin("NAS-1", "admin", "secret"));
  ASSERT_TRUE(StoreLogin("NAS-2", "jo", "other1"));
  ASSERT_TRUE(SetLastBox("NAS-2"));
  EXPECT_TRUE(FileHolds("ServName=NAS-2")) << FileText();
  EXPECT_EQ(LastBox(), "NAS-2");

  EXPECT_TRUE(ForgetLastBoxLogin());
  EXPECT_EQ(RememberedLogin("NAS-2").user, "");
  EXPECT_EQ(RememberedLogin("NAS-1").password, "secret");
}

// A box without a name must not leave the previous box as the last one: a
// refusal would then empty that other box's login.
TEST_F(RememberedSettings, ABoxWithoutANameClearsTheLastBox) {
  ASSERT_TRUE(StoreLogin("NAS-1", "admin", "secret"));
  ASSERT_TRUE(SetLastBox("NAS-1"));
  ASSERT_TRUE(SetLastBox(""));
  EXPECT_EQ(LastBox(), std::nullopt);
  EXPECT_FALSE(ForgetLastBoxLogin());
  EXPECT_EQ(RememberedLogin("NAS-1").password, "secret");
}

// A login from the login dialog records the last box and its login
// together: ticked or not, and a value the file cannot hold changes none of
// the three, so the last box never points at a half-written login.
TEST_F(RememberedSettings, AConnectionIsRecordedWholeOrNotAtAll) {
  ASSERT_TRUE(RememberConnection("NAS-1", true, "admin", "secret"));
  EXPECT_EQ(LastBox(), "NAS-1");
  EXPECT_EQ(RememberedLogin("NAS-1").user, "admin");
  EXPECT_EQ(RememberedLogin("NAS-1").password, "secret");

  ASSERT_TRUE(RememberConnection("NAS-2", false, "jo", "other1"));
  EXPECT_EQ(LastBox(), "NAS-2");
  EXPECT_TRUE(FileHolds("[NAS-2]\nUserName=\nPassWord=")) << FileText();
  EXPECT_EQ(RememberedLogin("NAS-1").password, "secret");

  const std::string before = FileText();
  EXPECT_FALSE(RememberConnection("NAS-1", true, "new\nline", "x"));
  EXPECT_EQ(settings::LastWriteProblem(), settings::WriteProblem::NotHeld);
  EXPECT_EQ(FileText(), before);

  // A box without a name: no login can be kept for it, and the caller gets
  // a reason to show; with nothing to remember, emptying the last box is all.
  EXPECT_FALSE(RememberConnection("", true, "admin", "secret"));
  EXPECT_EQ(LastBox(), std::nullopt);
  EXPECT_EQ(settings::LastWriteProblem(), settings::WriteProblem::NotHeld);
  EXPECT_FALSE(settings::LastWriteProblemText().empty());
  ASSERT_TRUE(RememberConnection("NAS-1", false, "admin", "secret"));
  EXPECT_TRUE(RememberConnection("", false, "admin", "secret"));
  EXPECT_EQ(LastBox(), std::nullopt);
}

TEST_F(RememberedSettings, TheFirstRunOfferIsMarkedOnce) {
  EXPECT_FALSE(FirstRunOfferMade());
  ASSERT_TRUE(MarkFirstRunOfferMade());
  EXPECT_TRUE(FileHolds("FirstOpen=FALSE")) << FileText();
  EXPECT_TRUE(FirstRunOfferMade());
  // Any text written by hand counts as made; an empty one does not.
  WriteFile("[Used]\nFirstOpen=yes\n");
  EXPECT_TRUE(FirstRunOfferMade());
  WriteFile("[Used]\nFirstOpen=\n");
  EXPECT_FALSE(FirstRunOfferMade());
}

TEST_F(RememberedSettings, TheIdleTimeReadsInWholeOfferedMinutes) {
  struct Case {
    const char *stored; // nullptr: no key at all
    std::uint32_t idle;
  };
  const Case cases[] = {
      {nullptr, 3600000},
      {"", 3600000},
      {"0:", 0},
      {"300000:", 300000},
      {"900000:", 900000},
      {"1800000:", 1800000},
      {"3600000:", 3600000},
      {"60000:", 3600000},
      {"180000:", 3600000},
      {"359999:", 300000},
      {"900000", 900000},
      {"letters", 0},
      {"-300000:", 3600000},
      {"99999999999999:", 3600000},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.stored == nullptr ? "(missing)" : c.stored);
    WriteFile(c.stored == nullptr ? std::string("[Current]\nServName=x\n")
                                  : std::string("[Current]\nLoginOutTime=") + c.stored + "\n");
    EXPECT_EQ(ReadIdleTime(), c.idle);
  }
}

TEST_F(RememberedSettings, TheIdleTimeIsWrittenAsMillisecondsAndAColon) {
  for (std::uint32_t idle : {0u, 300000u, 900000u, 1800000u, 3600000u}) {
    ASSERT_TRUE(WriteIdleTime(idle));
    EXPECT_TRUE(FileHolds("LoginOutTime=" + std::to_string(idle) + ":")) << FileText();
    EXPECT_EQ(ReadIdleTime(), idle);
  }
}

} // namespace
