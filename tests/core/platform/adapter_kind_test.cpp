#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/adapter_kind.h"
#include "support/temp_folder.h"

using namespace corvesta;

namespace {

// A stand-in for /sys/class/net with one folder per adapter.
class ClassNet {
public:
  std::filesystem::path Adapter(const std::string &name) {
    const std::filesystem::path folder = m_root.Path() / name;
    std::filesystem::create_directories(folder);
    return folder;
  }
  void Write(const std::string &name, const std::string &file, const std::string &text) {
    std::ofstream(Adapter(name) / file) << text;
  }
  void Folder(const std::string &name, const std::string &sub) {
    std::filesystem::create_directories(Adapter(name) / sub);
  }
  std::string Root() const { return m_root.Path().string(); }

private:
  test::TempFolder m_root;
};

} // namespace

TEST(AdapterKind, WhatTheSystemAndTheNameSay) {
  ClassNet net;
  net.Write("enp3s0", "type", "1\n");
  net.Folder("wlp2s0", "wireless");
  net.Write("wlp2s0", "type", "1\n");
  net.Folder("wlan1", "phy80211");
  net.Folder("br0", "bridge");
  net.Folder("docker0", "bridge");
  net.Folder("virbr0", "bridge");
  net.Write("tun0", "tun_flags", "0x1001\n");
  net.Write("wg0", "type", "65534\n");
  net.Write("myvpn", "type", "65534\n");
  net.Write("ppp0", "type", "512\n");
  net.Write("veth1a2b", "type", "1\n");
  net.Write("eth0", "type", "junk\n");
  struct Case {
    const char *name;
    AdapterKind kind;
  };
  const Case cases[] = {
      {"enp3s0", AdapterKind::Physical},   {"wlp2s0", AdapterKind::Wireless},
      {"wlan1", AdapterKind::Wireless},    {"br0", AdapterKind::Bridge},
      {"docker0", AdapterKind::Virtual},   {"virbr0", AdapterKind::Virtual},
      {"tun0", AdapterKind::Tunnel},       {"wg0", AdapterKind::Tunnel},
      {"myvpn", AdapterKind::Tunnel},      {"ppp0", AdapterKind::Tunnel},
      {"veth1a2b", AdapterKind::Virtual},  {"eth0", AdapterKind::Physical},
      {"br-9f8e7d", AdapterKind::Virtual}, // gone from the folder: its name says it
      {"missing", AdapterKind::Physical},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(ClassifyAdapter(c.name, ReadAdapterFacts(c.name, net.Root())), c.kind);
  }
}

TEST(AdapterKind, ANameThatIsNoFileNameReadsNothing) {
  ClassNet net;
  net.Folder("wlan0", "wireless");
  net.Folder("x", "bridge");
  for (const char *name : {"", ".", "..", "../wlan0", "x/../wlan0"}) {
    SCOPED_TRACE(name);
    const AdapterFacts facts = ReadAdapterFacts(name, net.Root());
    EXPECT_FALSE(facts.wireless);
    EXPECT_FALSE(facts.bridge);
    EXPECT_FALSE(facts.tunnel);
  }
}

TEST(AdapterKind, RanksAndNames) {
  EXPECT_EQ(AdapterKindRank(AdapterKind::Physical), AdapterKindRank(AdapterKind::Wireless));
  EXPECT_LT(AdapterKindRank(AdapterKind::Wireless), AdapterKindRank(AdapterKind::Bridge));
  EXPECT_LT(AdapterKindRank(AdapterKind::Bridge), AdapterKindRank(AdapterKind::Tunnel));
  EXPECT_EQ(AdapterKindRank(AdapterKind::Tunnel), AdapterKindRank(AdapterKind::Virtual));
  EXPECT_EQ(AdapterKindName(AdapterKind::Wireless), "wireless");
  EXPECT_EQ(AdapterKindName(AdapterKind::Virtual), "virtual");
}
