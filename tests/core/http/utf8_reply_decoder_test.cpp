#include <gtest/gtest.h>

#include "nas/replies/reply_reading.h"
#include "nas/replies/utf8_reply_decoder.h"

using namespace corvesta;

namespace {

TEST(Utf8ReplyDecoder, UpToThreeByteSequences) {
  const std::pair<std::string, std::u16string> cases[] = {
      {"plain <a>", u"plain <a>"},
      {"\xc3\xa9t\xc3\xa9", u"\u00e9t\u00e9"},
      {"\xe6\x97\xa5\xe6\x9c\xac", u"\u65e5\u672c"},
      {"ok\xf0\x9f\x98\x80", u""}, // any byte of 0xF0 or above: nothing
      {"ab\xc3(cd", u"ab"},        // a bad second byte ends the text
      {"ab\xe6\x97z", u"ab"},      // a bad third byte ends the text
      {"ab\xe6\x97", u"ab"},       // cut by the end of the text
      {"ab\xc3", u"ab"},
      {"\xa1\x80\x80x", u"\u1000x"}, // a follow byte as a lead: three bytes, 16 bits kept
  };
  for (const auto &[bytes, units] : cases) {
    EXPECT_EQ(DecodeUtf8Reply(bytes), units) << bytes;
  }
}

// Long ASCII runs are copied a word at a time: a sequence at every offset
// within a word, after a run, still decodes; a byte of 0xF0 or above after
// the point where a fault stopped the decoding still gives nothing.
TEST(Utf8ReplyDecoder, SequencesAfterLongAsciiRuns) {
  for (std::size_t run = 0; run < 20; ++run) {
    const std::string ascii(run, 'a');
    const std::u16string wide(run, u'a');
    SCOPED_TRACE(run);
    EXPECT_EQ(DecodeUtf8Reply(ascii + "\xc3\xa9" + ascii), wide + u"\u00e9" + wide);
    EXPECT_EQ(DecodeUtf8Reply(ascii + "\xe6\x97\xa5z"), wide + u"\u65e5z");
    EXPECT_EQ(DecodeUtf8Reply(ascii + "\xc3(" + ascii + "\xf0"), u"");
    EXPECT_EQ(DecodeUtf8Reply(ascii + "\xc3(" + ascii), wide);
    EXPECT_EQ(DecodeWholeUtf8Reply(ascii + "\xc3(" + ascii), std::nullopt);
    EXPECT_EQ(DecodeWholeUtf8Reply(ascii + "\xc3\xa9"), wide + u"\u00e9");
  }
}

// The decoded text starts as the bytes widened one to one and is written
// over from the first byte of 0x80 or above; ASCII runs are widened sixteen
// at a time. Sequences between runs of every length up to three blocks,
// over several rounds, decode in place without a unit out of step, and a
// fault or a byte of 0xF0 or above is still seen inside a block.
TEST(Utf8ReplyDecoder, DecodesInPlaceBetweenRunsOfEveryLength) {
  const std::pair<std::string, std::u16string> sequences[] = {
      {"\xc3\xa9", u"\u00e9"},
      {"\xe6\x97\xa5", u"\u65e5"},
      {"\xc3\xa9\xe6\x97\xa5", u"\u00e9\u65e5"},
  };
  for (std::size_t run = 0; run <= 40; ++run) {
    for (const auto &[bytes, units] : sequences) {
      const std::string ascii(run, 'x');
      const std::u16string wide(run, u'x');
      SCOPED_TRACE(testing::Message() << "run " << run << " sequence " << bytes.size());
      std::string text;
      std::u16string decoded;
      for (int round = 0; round < 3; ++round) {
        text += ascii + bytes;
        decoded += wide + units;
      }
      EXPECT_EQ(DecodeUtf8Reply(text + ascii), decoded + wide);
      EXPECT_EQ(DecodeWholeUtf8Reply(text + ascii), decoded + wide);
      EXPECT_EQ(DecodeUtf8Reply(bytes + ascii + "\xf0" + ascii), u"");
      EXPECT_EQ(DecodeUtf8Reply(ascii + "\xff" + ascii), u"");
      EXPECT_EQ(DecodeUtf8Reply(text + "\xc3" + ascii), decoded);
      EXPECT_EQ(DecodeWholeUtf8Reply(text + "\xc3" + ascii), std::nullopt);
      EXPECT_EQ(DecodeUtf8Reply(text + "\xe6\x97"), decoded);
    }
  }
}

TEST(ReplyNumbers, DecimalWithBlanksSignAndLimits) {
  const std::pair<std::u16string, std::int32_t> cases[] = {
      {u"42", 42},
      {u"  -7", -7},
      {u"+3x", 3},
      {u"12 34", 12},
      {u"", 0},
      {u"abc", 0},
      {u"\t\r\n9", 9},
      {u"- 5", 0},
      {u"2147483647", 2147483647},
      {u"99999999999", 2147483647},
      {u"-99999999999", -2147483647 - 1},
  };
  for (const auto &[text, value] : cases) {
    EXPECT_EQ(ReplyNumber(text), value);
  }
  EXPECT_EQ(ReplyNumber64(u"5000000000"), 5000000000LL);
  EXPECT_EQ(ReplyNumber64(u"-9223372036854775808"), INT64_MIN);
  EXPECT_EQ(ReplyNumber64(u"99999999999999999999"), INT64_MAX);
}

} // namespace
