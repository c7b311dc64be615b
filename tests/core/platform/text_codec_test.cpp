#include <gtest/gtest.h>

#include <cstring>

#include "platform/text_codec.h"

using namespace corvesta;

struct CodecCase {
  const char *name;
  std::string utf8;
  std::u16string utf16;
};

class Utf8RoundTrip : public testing::TestWithParam<CodecCase> {};

TEST_P(Utf8RoundTrip, ConvertsBothWays) {
  const CodecCase &c = GetParam();
  EXPECT_EQ(Utf8ToUtf16(c.utf8), c.utf16);
  EXPECT_EQ(Utf16ToUtf8(c.utf16), c.utf8);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, Utf8RoundTrip,
    testing::Values(CodecCase{"empty", "", u""}, CodecCase{"ascii", "NAS-310", u"NAS-310"},
                    CodecCase{"latin1", "Caf\xC3\xA9", u"Caf\u00E9"},
                    CodecCase{"cyrillic", "\xD0\x94\xD0\xB8\xD1\x81\xD0\xBA",
                              u"\u0414\u0438\u0441\u043A"},
                    CodecCase{"cjk", "\xE7\xA1\xAC", u"\u786C"},
                    CodecCase{"astral", "\xF0\x9F\x92\xBE", u"\U0001F4BE"},
                    CodecCase{"embedded zero", std::string("a\0b", 3), std::u16string(u"a\0b", 3)}),
    [](const auto &paramInfo) {
      std::string name = paramInfo.param.name;
      for (char &ch : name) {
        if (ch == ' ')
          ch = '_';
      }
      return name;
    });

TEST(TextCodec, IllFormedUtf8BecomesReplacementCharacters) {
  struct Case {
    std::string in;
    std::u16string out;
  } cases[] = {
      {"\x80", u"\uFFFD"},                               // lone continuation byte
      {"a\xC3", u"a\uFFFD"},                             // truncated sequence
      {"\xC0\xAF", u"\uFFFD\uFFFD"},                     // overlong "/"
      {"\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD"},           // encoded surrogate
      {"\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"}, // above U+10FFFF
      {"\xFF"
       "ok",
       u"\uFFFDok"},
  };
  for (const Case &c : cases) {
    EXPECT_EQ(Utf8ToUtf16(c.in), c.out);
  }
}

TEST(TextCodec, LoneSurrogatesBecomeReplacementCharacters) {
  EXPECT_EQ(Utf16ToUtf8(std::u16string(1, char16_t(0xD800))), "\xEF\xBF\xBD");
  EXPECT_EQ(Utf16ToUtf8(std::u16string{char16_t(0xDC00), u'x'}), "\xEF\xBF\xBDx");
  EXPECT_EQ(Utf16ToUtf8(std::u16string{char16_t(0xD83D), u'x'}), "\xEF\xBF\xBDx");
}

TEST(TextCodec, CopyToFieldCutsAtCharacterBoundaryAndNeverOverruns) {
  struct Case {
    std::string text;
    std::size_t fieldSize;
    std::string expected;
    bool fits;
  } cases[] = {
      {"admin", 17, "admin", true},
      {"exactly16bytes!!", 17, "exactly16bytes!!", true},
      {"seventeen bytes!!", 17, "seventeen bytes!", false},
      // "é" is two bytes: with room for 2 text bytes only "a" fits whole.
      {"a\xC3\xA9", 3, "a", false},
      {"\xF0\x9F\x92\xBE", 4, "", false},
      {"", 1, "", true},
      {std::string("ab\0cd", 5), 8, "ab", false},
  };
  for (const Case &c : cases) {
    std::vector<char> buffer(c.fieldSize + 4, '#');
    EXPECT_EQ(CopyToField(buffer.data(), c.fieldSize, c.text), c.fits) << c.text;
    EXPECT_STREQ(buffer.data(), c.expected.c_str());
    for (std::size_t i = c.expected.size(); i < c.fieldSize; ++i) {
      EXPECT_EQ(buffer[i], '\0') << "field not zero-filled at " << i;
    }
    for (std::size_t i = c.fieldSize; i < buffer.size(); ++i) {
      EXPECT_EQ(buffer[i], '#') << "overrun at " << i;
    }
  }
}

TEST(TextCodec, FieldTextStopsAtTheFieldEndWithoutTerminator) {
  char field[4] = {'a', 'b', 'c', 'd'};
  EXPECT_EQ(FieldText(field, sizeof field), "abcd");
  char terminated[6] = {'a', 'b', '\0', 'z', 'z', 'z'};
  EXPECT_EQ(FieldText(terminated, sizeof terminated), "ab");
}
