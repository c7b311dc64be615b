#include <gtest/gtest.h>

#include <set>

#include "nas/current_credentials.h"
#include "nas/udp/request_tag.h"

using namespace corvesta;

TEST(RequestTag, SixRandomBytesThenFourZeros) {
  std::set<std::array<std::uint8_t, kRequestTagSize>> seen;
  // Drawn within the same second: a time-seeded generator would repeat.
  for (int i = 0; i < 1000; ++i) {
    RequestTag tag = NewRequestTag();
    for (std::size_t b = kRequestTagRandomBytes; b < kRequestTagSize; ++b) {
      EXPECT_EQ(tag.bytes[b], 0);
    }
    EXPECT_TRUE(seen.insert(tag.bytes).second) << "tag repeated after " << i << " draws";
  }
}

TEST(CurrentCredentials, TextsAreCutToSixteenBytesAtACharacterBoundary) {
  Credentials c = MakeCredentials("abcdefghijklmnopq", "abcdefghijklmno\xc3\xa9");
  EXPECT_EQ(c.UserName(), "abcdefghijklmnop");
  EXPECT_EQ(c.Password(), "abcdefghijklmno");
}

TEST(CurrentCredentials, ALateRefusalDoesNotWipeNewerCredentials) {
  Credentials first = MakeCredentials("admin", "one");
  Credentials second = MakeCredentials("admin", "two");
  SetCurrentCredentials(second);
  EXPECT_FALSE(ClearCurrentCredentialsIf(first));
  EXPECT_EQ(CurrentCredentials().Password(), "two");
  EXPECT_TRUE(ClearCurrentCredentialsIf(second));
  EXPECT_EQ(CurrentCredentials().UserName(), "");
  EXPECT_EQ(CurrentCredentials().Password(), "");
}
