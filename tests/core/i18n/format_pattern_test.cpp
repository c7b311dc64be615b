#include <gtest/gtest.h>

#include "i18n/format_pattern.h"

using namespace corvesta;

TEST(FormatPattern, NumbersFillPlaceholdersInOrder) {
  EXPECT_EQ(FormatPattern(u"%dG Used/%dG Available", {12, 931}), u"12G Used/931G Available");
  EXPECT_EQ(FormatPattern(u"%d%%", {50}), u"50%");
  EXPECT_EQ(FormatPattern(u"%u.%u.%u.%u", {192, 168, 1, 10}), u"192.168.1.10");
  EXPECT_EQ(FormatPattern(u"-%d", {-3}), u"--3");
}

TEST(FormatPattern, PlaceholdersWithoutNumbersAndOtherPercentSignsStayAsWritten) {
  EXPECT_EQ(FormatPattern(u"%d and %d", {1}), u"1 and %d");
  EXPECT_EQ(FormatPattern(u"%s at 5%", {}), u"%s at 5%");
  EXPECT_EQ(FormatPattern(u"100 %", {7}), u"100 %");
}
