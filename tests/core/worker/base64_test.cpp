#include <gtest/gtest.h>

#include <random>

#include "platform/base64.h"

using namespace corvesta;

TEST(Base64, KnownVectors) {
  struct Case {
    std::string bytes;
    std::string text;
  } cases[] = {
      {"", ""},
      {"f", "Zg=="},
      {"fo", "Zm8="},
      {"foo", "Zm9v"},
      {"foob", "Zm9vYg=="},
      {"fooba", "Zm9vYmE="},
      {"foobar", "Zm9vYmFy"},
      {"admin:secret", "YWRtaW46c2VjcmV0"},
      {std::string("\xFB\xFF\x00", 3), "+/8A"},
  };
  for (const Case &c : cases) {
    EXPECT_EQ(Base64Encode(c.bytes), c.text);
    auto decoded = Base64Decode(c.text);
    ASSERT_TRUE(decoded) << c.text;
    EXPECT_EQ(*decoded, c.bytes);
  }
}

TEST(Base64, RoundTripsEveryLengthAndByte) {
  std::mt19937 random(12345);
  for (std::size_t length = 0; length < 200; ++length) {
    std::string bytes(length, '\0');
    for (char &b : bytes) {
      b = static_cast<char>(random() & 0xFF);
    }
    auto decoded = Base64Decode(Base64Encode(bytes));
    ASSERT_TRUE(decoded);
    EXPECT_EQ(*decoded, bytes);
  }
}

TEST(Base64, FillMayBeLeftOut) {
  EXPECT_EQ(Base64Decode("Zg"), std::optional<std::string>("f"));
  EXPECT_EQ(Base64Decode("Zm8"), std::optional<std::string>("fo"));
}

TEST(Base64, TextThatIsNotBase64YieldsNothing) {
  for (const char *text : {"Z", "Zm9vY", "Zm=v", "Zg=", "Z===", "Zm9v\n", " Zm9v", "Zm9v!",
                           "Zh==", "Zm9=", "====", "\xC3\xA9\xC3\xA9"}) {
    EXPECT_FALSE(Base64Decode(text)) << text;
  }
}
