// What the front ends make of the box's replies: the centers a user may
// open, how full the volumes are, the center links, the share paths and the
// greetings.
#include <gtest/gtest.h>

#include <memory>

#include "i18n/current_language.h"
#include "platform/text_codec.h"
#include "setup/access_rights.h"
#include "setup/center_link.h"
#include "setup/volume_usage.h"
#include "setup/welcome_texts.h"

namespace corvesta {
namespace {

TEST(AccessRights, PositionsTwoSixEightAndTenOpenTheCenters) {
  struct Case {
    std::u16string_view access;
    bool download, backup, management, surveillance;
  };
  const Case cases[] = {
      {u"1,1,1,1,1,1", true, true, true, true},
      {u"1,0,1,0,0,0", false, false, false, false},
      {u"0,1,0,0,1,0", true, false, true, false},
      {u"x,2,x,x,x,y", true, true, true, true}, // anything but '0' opens
      {u"1,1,1", true, false, false, false},    // missing positions count as '0'
      {u"1,1,1,1,1", true, true, true, false},
      {u"", false, false, false, false},
  };
  for (const Case &c : cases) {
    const CenterRights rights = RightsFromAccessText(c.access);
    SCOPED_TRACE(Utf16ToUtf8(c.access));
    EXPECT_EQ(rights.download, c.download);
    EXPECT_EQ(rights.backup, c.backup);
    EXPECT_EQ(rights.management, c.management);
    EXPECT_EQ(rights.surveillance, c.surveillance);
  }
}

std::unique_ptr<VolumeInfo> Chain(std::initializer_list<VolumeInfo> nodes) {
  auto first = std::make_unique<VolumeInfo>();
  VolumeInfo *last = nullptr;
  for (const VolumeInfo &node : nodes) {
    VolumeInfo *target =
        last == nullptr ? first.get() : (last->next = std::make_unique<VolumeInfo>()).get();
    target->volume = node.volume;
    target->total = node.total;
    target->used = node.used;
    last = target;
  }
  return first;
}

constexpr std::int64_t kGb = 1024 * 1024;

TEST(VolumeUsage, VolumesUpToTheFirstWithoutNumberInWholeGb) {
  const auto list = Chain({{1, 931 * kGb + kGb - 1, 12 * kGb, nullptr},
                           {2, 100 * kGb, 0, nullptr},
                           {0, 5 * kGb, kGb, nullptr},
                           {3, 7 * kGb, kGb, nullptr}});
  const std::vector<VolumeUsage> volumes = VolumeUsages(*list);
  ASSERT_EQ(volumes.size(), 2u);
  EXPECT_EQ(volumes[0].volume, 1);
  EXPECT_EQ(volumes[0].totalGb, 931); // the sizes are cut, not rounded
  EXPECT_EQ(volumes[0].usedGb, 12);
  EXPECT_EQ(volumes[1].volume, 2);
  EXPECT_EQ(volumes[1].totalGb, 100);
  EXPECT_TRUE(VolumeUsages(VolumeInfo{}).empty());
}

TEST(VolumeUsage, PercentIsRoundedAndStaysWithinZeroToHundred) {
  struct Case {
    long long total, used;
    int percent;
  };
  const Case cases[] = {
      {931, 12, 1},
      {931, 466, 50},
      {3, 2, 67},
      {997, 100, 10},
      {100, 100, 100},
      {0, 0, 0},
      {0, 5, 0},
      {100, 250, 100},
      {100, -5, 0},
      {-100, 5, 0},
      {1LL << 40, (1LL << 40) - 1, 100},
  };
  for (const Case &c : cases) {
    EXPECT_EQ(UsedPercent(c.total, c.used), c.percent) << c.total << ", " << c.used;
  }
}

TEST(VolumeUsage, TheLineNamesTheVolumeItsUseAndItsShare) {
  EXPECT_EQ(VolumeUsageLine({1, 997, 100}), u"Volume_1  100G Used/997G Available  (10%)");
  EXPECT_EQ(VolumeUsageLine({2, 0, 0}), u"Volume_2  0G Used/0G Available  (0%)");
  ASSERT_TRUE(SelectLanguage(2));
  const std::u16string german = UsageText({1, 931, 12});
  ClearCurrentLanguage();
  EXPECT_NE(german, u"12G Used/931G Available");
  EXPECT_NE(german.find(u"12"), std::u16string::npos);
  EXPECT_NE(german.find(u"931"), std::u16string::npos);
}

TEST(CenterLinks, EachCenterCarriesItsModeAndPassword) {
  struct Case {
    WebCenter center;
    std::string_view password;
    std::string link;
  };
  const std::string start = "http://192.168.1.20/web/utility_redirect.html?m=";
  const Case cases[] = {
      {WebCenter::File, "pass word", start + "1&u=jo&p=pass word"},
      {WebCenter::Management, "secret", start + "2&u=jo&p=c2VjcmV0&d=status"},
      {WebCenter::Download, "secret", start + "3&u=jo&p=c2VjcmV0"},
      {WebCenter::Backup, "\xfb\xff", start + "4&u=jo&p=+/8="}, // "+", "/", "=" unchanged
      {WebCenter::Surveillance, "a&b=c", start + "5&u=jo&p=a&b=c"},
      {WebCenter::Download, "", start + "3&u=jo&p="},
      {WebCenter::File, "", start + "1&u=jo&p="},
  };
  for (const Case &c : cases) {
    EXPECT_EQ(CenterLink(c.center, "192.168.1.20", "jo", c.password), c.link);
  }
}

TEST(CenterLinks, CentersAreNamedByTheirWord) {
  for (const WebCenterEntry &entry : WebCenters()) {
    EXPECT_EQ(WebCenterFromWord(entry.word), entry.center) << entry.word;
    EXPECT_EQ(WebCenterOf(entry.center).mode, entry.mode);
  }
  EXPECT_EQ(WebCenterFromWord("play"), std::nullopt);
  EXPECT_EQ(WebCenterFromWord("Management"), std::nullopt);
}

TEST(SharePaths, TwoBackslashesTheAddressOneBackslashTheShare) {
  EXPECT_EQ(ShareNetworkPath(u"192.168.1.20", u"public"), u"\\\\192.168.1.20\\public");
  EXPECT_EQ(ShareNetworkPath(u"10.0.0.5", u"Фото 100%"), u"\\\\10.0.0.5\\Фото 100%");
}

TEST(Greetings, NameTheUserAndTheModel) {
  EXPECT_EQ(WelcomeText(u"jo"), u"Welcome jo");
  EXPECT_EQ(FirstRunQuestion(u"admin"),
            u"Welcome admin, do you want to go to wizard to setup your KS-310?");
  // A user name is shown as it is, even when it looks like a pattern.
  EXPECT_EQ(WelcomeText(u"%s%d"), u"Welcome %s%d");
  ASSERT_TRUE(SelectLanguage(2));
  EXPECT_EQ(WelcomeText(u"jo"), u"Willkommen jo");
  ClearCurrentLanguage();
}

} // namespace
} // namespace corvesta
