// nas-sim's start: state files it refuses with a clear message, addresses it
// cannot bind, and a clean end on SIGTERM.

#include <gtest/gtest.h>

#include "support/nas_sim_process.h"

namespace corvesta::test {
namespace {

nlohmann::json GoodBox() {
  return NasSimProcess::MakeBox("ONE", "127.0.0.2", "00:11:22:33:44:01");
}

struct BadStateCase {
  const char *name;
  std::string state;
  const char *message; // part of what nas-sim says
};

std::string WithBox(const std::function<void(nlohmann::json &)> &change) {
  nlohmann::json box = GoodBox();
  change(box);
  return NasSimProcess::MakeState({box}).dump();
}

TEST(SimStateFileTest, BadStateFilesAreRefusedWithAClearMessage) {
  const BadStateCase cases[] = {
      {"not JSON", "{\"boxes\": [", "not valid JSON"},
      {"no boxes", "{\"boxes\": []}", "no box"},
      {"not an object", "[1, 2]", "\"boxes\""},
      {"bad address", WithBox([](auto &b) { b["ip"] = "127.0.0.300"; }), "\"ip\""},
      {"bad mac", WithBox([](auto &b) { b["mac"] = "00:11:22:33:44"; }), "\"mac\""},
      {"ip of wrong type", WithBox([](auto &b) { b["ip"] = 5; }), "must be a text"},
      {"no accounts", WithBox([](auto &b) { b["accounts"] = nlohmann::json::array(); }),
       "\"accounts\""},
      {"misspelt fault", WithBox([](auto &b) {
         b["faults"] = {{"refuse_credential", true}};
       }),
       "refuse_credential"},
      {"unknown udp request", WithBox([](auto &b) {
         b["faults"] = {{"udp", {{"probes", {}}}}};
       }),
       "probes"},
      {"password too long",
       WithBox([](auto &b) { b["accounts"][0]["password"] = "12345678901234567"; }), "password"},
      {"disk too large", WithBox([](auto &b) {
         b["disks"] = {{{"device", "sda"}, {"size_gib", 9000000000000000000LL}}};
       }),
       "size"},
      {"endless format", WithBox([](auto &b) { b["format_seconds"] = 2147483647; }), "a day"},
      {"multicast box address", WithBox([](auto &b) { b["ip"] = "224.0.0.1"; }), "unicast"},
      {"same address twice",
       NasSimProcess::MakeState(
           {GoodBox(), NasSimProcess::MakeBox("TWO", "127.0.0.2", "00:11:22:33:44:02")})
           .dump(),
       "must differ"},
  };
  for (const BadStateCase &c : cases) {
    SCOPED_TRACE(c.name);
    NasSimProcess sim;
    EXPECT_FALSE(sim.Start(std::string_view(c.state)));
    EXPECT_NE(sim.Error().find(c.message), std::string::npos) << sim.Error();
    EXPECT_EQ(sim.ExitStatus(), 2);
  }
}

TEST(SimStateFileTest, AnAddressNotOnAnyInterfaceFailsToBind) {
  NasSimProcess sim;
  nlohmann::json box = GoodBox();
  box["ip"] = "10.99.98.97";
  EXPECT_FALSE(sim.Start(NasSimProcess::MakeState({box})));
  EXPECT_NE(sim.Error().find("cannot bind"), std::string::npos) << sim.Error();
}

TEST(SimStateFileTest, EndsCleanlyOnSigterm) {
  NasSimProcess sim;
  ASSERT_TRUE(sim.Start(NasSimProcess::MakeState({GoodBox()}))) << sim.Error();
  EXPECT_TRUE(sim.Running());
  sim.Stop();
  EXPECT_EQ(sim.ExitStatus(), 0);
}

TEST(SimStateFileTest, ControlChannelRefusesBadCommandsAndBadPatches) {
  NasSimProcess sim;
  ASSERT_TRUE(sim.Start(NasSimProcess::MakeState({GoodBox()}))) << sim.Error();
  const nlohmann::json commands[] = {
      {{"cmd", "jump"}},
      {{"cmd", "box"}, {"box", "NOBODY"}},
      {{"cmd", "patch"}, {"box", "ONE"}, {"patch", {{"ip", "not an address"}}}},
      {{"cmd", "faults"}, {"box", "ONE"}, {"faults", {{"http", {{"*", {{"status", 20}}}}}}}},
  };
  for (const nlohmann::json &command : commands) {
    SCOPED_TRACE(command.dump());
    const auto reply = sim.Control(command);
    ASSERT_TRUE(reply);
    EXPECT_FALSE((*reply)["ok"].get<bool>());
    EXPECT_FALSE((*reply)["error"].get<std::string>().empty());
  }
  // A refused patch changes nothing.
  const auto state = sim.Box("ONE");
  ASSERT_TRUE(state);
  EXPECT_EQ((*state)["ip"], "127.0.0.2");
}

} // namespace
} // namespace corvesta::test
