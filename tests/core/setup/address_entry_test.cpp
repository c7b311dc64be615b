#include <gtest/gtest.h>

#include "setup/address_entry.h"

using namespace corvesta;

namespace {

AddressFieldTexts Fields(std::u16string a, std::u16string b, std::u16string c, std::u16string d) {
  return {std::move(a), std::move(b), std::move(c), std::move(d)};
}

struct RangeCase {
  const char *name;
  AddressKind kind;
  AddressFieldTexts fields;
  std::u16string_view pattern;
  std::vector<long long> numbers;
  int field;
};

} // namespace

TEST(AddressEntry, AValidHostAddressPacksFirstFieldIntoTheTopByte) {
  const AddressReading reading =
      ReadAddress(AddressKind::IpAddress, Fields(u"192", u"168", u"1", u"10"));
  EXPECT_EQ(reading.count, 4);
  EXPECT_TRUE(reading.problem.IsNone());
  EXPECT_EQ(PackAddress(reading.bytes), 0xC0A8010Au);
}

TEST(AddressEntry, FirstAndLastByteLimitsOfHostGatewayAndDnsKinds) {
  const RangeCase cases[] = {
      {"ip first 0",
       AddressKind::IpAddress,
       Fields(u"0", u"1", u"2", u"3"),
       kIpAddressRangeText,
       {0, 223},
       0},
      {"ip first 224",
       AddressKind::IpAddress,
       Fields(u"224", u"1", u"2", u"3"),
       kIpAddressRangeText,
       {224, 223},
       0},
      {"ip last 0",
       AddressKind::IpAddress,
       Fields(u"10", u"1", u"2", u"0"),
       kIpAddressRangeText,
       {0, 254},
       3},
      {"ip last 255",
       AddressKind::IpAddress,
       Fields(u"10", u"1", u"2", u"255"),
       kIpAddressRangeText,
       {255, 254},
       3},
      {"first checked before last",
       AddressKind::IpAddress,
       Fields(u"0", u"1", u"2", u"0"),
       kIpAddressRangeText,
       {0, 223},
       0},
      {"gateway",
       AddressKind::Gateway,
       Fields(u"230", u"1", u"2", u"3"),
       kGatewayRangeText,
       {230, 223},
       0},
      {"dns",
       AddressKind::DnsServer,
       Fields(u"8", u"8", u"8", u"255"),
       kDnsRangeText,
       {255, 254},
       3},
  };
  for (const RangeCase &c : cases) {
    SCOPED_TRACE(c.name);
    const AddressReading reading = ReadAddress(c.kind, c.fields);
    EXPECT_EQ(reading.count, 0);
    EXPECT_EQ(reading.problem.pattern, c.pattern);
    EXPECT_EQ(reading.problem.numbers, c.numbers);
    EXPECT_EQ(reading.problem.field, c.field);
    EXPECT_EQ(reading.bytes, AddressBytes{});
  }
}

TEST(AddressEntry, MiddleBytesAndKindNoneAreNotRangeChecked) {
  EXPECT_EQ(ReadAddress(AddressKind::IpAddress, Fields(u"10", u"0", u"255", u"1")).count, 4);
  const AddressReading none = ReadAddress(AddressKind::None, Fields(u"0", u"0", u"0", u"0"));
  EXPECT_EQ(none.count, 4);
  EXPECT_TRUE(none.problem.IsNone());
}

TEST(AddressEntry, SubnetMasks) {
  const struct {
    AddressFieldTexts fields;
    bool valid;
  } cases[] = {
      {Fields(u"255", u"255", u"255", u"0"), true},
      {Fields(u"255", u"255", u"255", u"255"), true},
      {Fields(u"255", u"255", u"255", u"252"), true},
      {Fields(u"128", u"0", u"0", u"0"), true},
      {Fields(u"255", u"0", u"255", u"0"), false},
      {Fields(u"0", u"0", u"0", u"0"), false},
      {Fields(u"255", u"255", u"255", u"253"), false},
      {Fields(u"0", u"255", u"255", u"255"), false},
  };
  for (const auto &c : cases) {
    const AddressReading reading = ReadAddress(AddressKind::SubnetMask, c.fields);
    SCOPED_TRACE(std::string(c.fields[0].begin(), c.fields[0].end()));
    EXPECT_EQ(reading.count, c.valid ? 4 : 0);
    EXPECT_EQ(reading.problem.pattern, c.valid ? std::u16string_view() : kSubnetMaskText);
  }
}

TEST(AddressEntry, AnEmptyFieldStopsTheReadingWithTheCountReadBeforeIt) {
  for (int missing = 0; missing < 4; ++missing) {
    AddressFieldTexts fields = Fields(u"192", u"168", u"1", u"10");
    fields[static_cast<std::size_t>(missing)].clear();
    const AddressReading reading = ReadAddress(AddressKind::None, fields);
    EXPECT_EQ(reading.count, missing);
    EXPECT_EQ(reading.problem.pattern, kMissingValueText);
    EXPECT_EQ(reading.problem.field, missing);
    EXPECT_EQ(reading.bytes, AddressBytes{});
  }
}

TEST(AddressEntry, AFieldAboveTheByteRangeIsReportedNotTruncated) {
  const AddressReading reading =
      ReadAddress(AddressKind::None, Fields(u"192", u"256", u"1", u"10"));
  EXPECT_EQ(reading.count, 1);
  EXPECT_EQ(reading.problem.pattern, kFieldRangeText);
  EXPECT_EQ(reading.problem.numbers, std::vector<long long>{256});
  EXPECT_EQ(reading.problem.field, 1);
  EXPECT_EQ(reading.bytes, AddressBytes{});
}

TEST(AddressEntry, FieldNumbers) {
  EXPECT_EQ(FieldNumber(u"007"), 7);
  EXPECT_EQ(FieldNumber(u"999"), 999);
  EXPECT_EQ(FieldNumber(u""), std::nullopt);
  EXPECT_EQ(FieldNumber(u"1a"), std::nullopt);
  EXPECT_EQ(FieldNumber(u"1000"), std::nullopt);
  EXPECT_TRUE(CheckFieldValue(255, 2).IsNone());
  EXPECT_EQ(CheckFieldValue(300, 2).numbers, std::vector<long long>{300});
  EXPECT_EQ(CheckFieldValue(300, 2).field, 2);
}

TEST(AddressEntry, PastedTexts) {
  using Groups = std::vector<std::u16string>;
  EXPECT_EQ(SplitPastedAddress(u"192.168.1.10"), (Groups{u"192", u"168", u"1", u"10"}));
  EXPECT_EQ(SplitPastedAddress(u"  10.0.0.1\n"), (Groups{u"10", u"0", u"0", u"1"}));
  EXPECT_EQ(SplitPastedAddress(u"168.1"), (Groups{u"168", u"1"}));
  EXPECT_EQ(SplitPastedAddress(u"7"), (Groups{u"7"}));
  const std::u16string_view refused[] = {u"",       u"1.2.3.4.5", u"1..2", u"1.2.",           u".1",
                                         u"1234.1", u"a.b.c.d",   u"1. 2", u"192.168.1.10/24"};
  for (std::u16string_view text : refused) {
    EXPECT_EQ(SplitPastedAddress(text), std::nullopt) << std::string(text.begin(), text.end());
  }
}
