#include "platform/shell_open.h"

#include <gtest/gtest.h>

namespace corvesta {
namespace {

struct ShareCase {
  std::u16string input;
  bool valid;
  std::u16string host;
  std::u16string path;
};

TEST(ShellOpen, ParsesNetworkPaths) {
  const ShareCase cases[] = {
      {u"\\\\192.168.1.20\\public", true, u"192.168.1.20", u"public"},
      {u"\\\\nas-1\\My Music\\2020", true, u"nas-1", u"My Music/2020"},
      {u"\\\\10.0.0.2\\share\\", true, u"10.0.0.2", u"share"},
      {u"\\\\192.168.1.20", false, u"", u""},
      {u"\\\\192.168.1.20\\", false, u"", u""},
      {u"\\\\\\share", false, u"", u""},
      {u"192.168.1.20\\share", false, u"", u""},
      // A host that would smuggle user information or a path into the URL.
      {u"\\\\evil@host\\share", false, u"", u""},
      {u"\\\\host/x\\share", false, u"", u""},
      {u"\\\\host\\\\share", false, u"", u""},
  };
  for (const ShareCase &c : cases) {
    std::optional<SharePath> share = ParseSharePath(c.input);
    ASSERT_EQ(share.has_value(), c.valid);
    if (c.valid) {
      EXPECT_EQ(share->host, c.host);
      EXPECT_EQ(share->path, c.path);
    }
  }
}

TEST(ShellOpen, HandsOnlyWebLinksToTheService) {
  ScopedShellOpenRecorder recorder;
  EXPECT_TRUE(ShellOpenLink(u"http://192.168.1.20/web/utility_redirect.html?m=1"));
  EXPECT_TRUE(ShellOpenLink(u"HTTPS://nas/"));
  EXPECT_FALSE(ShellOpenLink(u"file:///etc/passwd"));
  EXPECT_FALSE(ShellOpenLink(u"javascript:alert(1)"));
  EXPECT_FALSE(ShellOpenLink(u""));
  ASSERT_EQ(recorder->Links().size(), 2u);
  EXPECT_EQ(recorder->Links()[1], u"HTTPS://nas/");
}

TEST(ShellOpen, SharesReachTheServiceParsedAndFailuresAreReported) {
  ScopedShellOpenRecorder recorder;
  EXPECT_TRUE(ShellOpenShare(u"\\\\192.168.1.20\\public"));
  EXPECT_FALSE(ShellOpenShare(u"not a share"));
  recorder->SetResult(false);
  EXPECT_FALSE(ShellOpenShare(u"\\\\192.168.1.20\\backup"));
  ASSERT_EQ(recorder->Shares().size(), 2u);
  EXPECT_EQ(recorder->Shares()[1].path, u"backup");
}

TEST(ShellOpen, WithoutAServiceNothingOpens) {
  std::shared_ptr<ShellOpenService> previous = SetShellOpenService(nullptr);
  EXPECT_FALSE(ShellOpenLink(u"http://nas/"));
  EXPECT_FALSE(ShellOpenShare(u"\\\\nas\\public"));
  SetShellOpenService(previous);
}

} // namespace
} // namespace corvesta
