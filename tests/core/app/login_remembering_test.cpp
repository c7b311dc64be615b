// When a login asked for by a person is written: the box used last and a
// login to forget at the start, a login to remember only once the box has
// accepted it.
#include "app/login_remembering.h"

#include <gtest/gtest.h>

#include "app/remembered_settings.h"
#include "support/temp_folder.h"

using namespace corvesta;

namespace {

class LoginRemembering : public testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(StoreLogin("ALPHA", "admin", "worked"));
    ASSERT_TRUE(SetLastBox("BETA"));
  }
  test::ScopedAppDataFolder appData;
};

TEST_F(LoginRemembering, WhatTheStartAndTheAcceptanceWrite) {
  struct Case {
    const char *what;
    LoginMemory memory;
    // The login remembered for ALPHA after the start, and after acceptance.
    const char *userAtStart, *passwordAtStart;
    const char *userAccepted, *passwordAccepted;
  };
  const Case cases[] = {
      {"remember", LoginMemory::Remember, "admin", "worked", "anna", "typed"},
      {"forget", LoginMemory::Forget, "", "", "", ""},
      {"leave", LoginMemory::Leave, "admin", "worked", "admin", "worked"},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    ASSERT_TRUE(StoreLogin("ALPHA", "admin", "worked"));
    ASSERT_TRUE(SetLastBox("BETA"));
    ASSERT_TRUE(RememberLoginStart("ALPHA", c.memory));
    EXPECT_EQ(LastBox(), "ALPHA");
    EXPECT_EQ(RememberedLogin("ALPHA").user, c.userAtStart);
    EXPECT_EQ(RememberedLogin("ALPHA").password, c.passwordAtStart);
    ASSERT_TRUE(RememberAcceptedLogin("ALPHA", c.memory, "anna", "typed"));
    EXPECT_EQ(RememberedLogin("ALPHA").user, c.userAccepted);
    EXPECT_EQ(RememberedLogin("ALPHA").password, c.passwordAccepted);
  }
}

// A login refused (or unanswered) is never accepted: the login that worked
// stays. Only the latest login's acceptance writes, and only once.
TEST_F(LoginRemembering, APendingLoginWritesOnlyWhenAccepted) {
  PendingLoginMemory pending;
  EXPECT_TRUE(pending.Accepted()); // nothing waiting: nothing written
  ASSERT_TRUE(pending.Begin("ALPHA", LoginMemory::Remember, "admin", "mistyped"));
  EXPECT_TRUE(pending.Waiting());
  EXPECT_EQ(RememberedLogin("ALPHA").password, "worked");

  // Given up, or superseded by the next login: the first writes nothing.
  pending.Drop();
  EXPECT_TRUE(pending.Accepted());
  EXPECT_EQ(RememberedLogin("ALPHA").password, "worked");
  ASSERT_TRUE(pending.Begin("ALPHA", LoginMemory::Remember, "admin", "mistyped"));
  ASSERT_TRUE(pending.Begin("ALPHA", LoginMemory::Remember, "admin", "new-one"));
  EXPECT_TRUE(pending.Accepted());
  EXPECT_FALSE(pending.Waiting());
  EXPECT_EQ(RememberedLogin("ALPHA").user, "admin");
  EXPECT_EQ(RememberedLogin("ALPHA").password, "new-one");

  // Once written, a second acceptance writes nothing again.
  ASSERT_TRUE(StoreLogin("ALPHA", "admin", "changed-since"));
  EXPECT_TRUE(pending.Accepted());
  EXPECT_EQ(RememberedLogin("ALPHA").password, "changed-since");
}

// A box without a name has no section: its login cannot be remembered, and
// the acceptance says so; forgetting it empties the box used last.
TEST_F(LoginRemembering, ABoxWithoutANameCannotBeRemembered) {
  ASSERT_TRUE(RememberLoginStart("", LoginMemory::Remember));
  EXPECT_EQ(LastBox(), std::nullopt);
  EXPECT_FALSE(RememberAcceptedLogin("", LoginMemory::Remember, "admin", "pw"));
  EXPECT_TRUE(RememberAcceptedLogin("", LoginMemory::Forget, "admin", "pw"));
  EXPECT_EQ(RememberedLogin("ALPHA").password, "worked");
}

} // namespace
