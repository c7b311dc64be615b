#include <gtest/gtest.h>

#include <map>
#include <set>

#include "app/desktop_display.h"

using namespace corvesta;

namespace {

struct Case {
  const char *label;
  std::map<std::string, std::string> environment;
  std::set<std::string> sockets;
  DisplayVerdict expected;
};

DisplayVerdict Check(const Case &c) {
  return CheckDesktopDisplay(
      [&](std::string_view name) -> std::optional<std::string> {
        const auto found = c.environment.find(std::string(name));
        if (found == c.environment.end()) {
          return std::nullopt;
        }
        return found->second;
      },
      [&](const std::string &path) { return c.sockets.count(path) != 0; });
}

} // namespace

TEST(DesktopDisplay, DecidesFromTheEnvironmentAndTheDisplaySockets) {
  const auto yes = DisplayVerdict::Available;
  const auto no = DisplayVerdict::NoDisplay;
  const Case cases[] = {
      {"nothing set", {}, {}, no},
      {"empty DISPLAY", {{"DISPLAY", ""}}, {"/tmp/.X11-unix/X0"}, no},
      {"local X11 with its socket", {{"DISPLAY", ":0"}}, {"/tmp/.X11-unix/X0"}, yes},
      {"screen number", {{"DISPLAY", ":99.0"}}, {"/tmp/.X11-unix/X99"}, yes},
      {"unix: form", {{"DISPLAY", "unix:7"}}, {"/tmp/.X11-unix/X7"}, yes},
      {"local X11 whose server is gone", {{"DISPLAY", ":3"}}, {"/tmp/.X11-unix/X0"}, no},
      {"garbage display", {{"DISPLAY", ":abc"}}, {}, no},
      {"display on another host is left to Qt", {{"DISPLAY", "remote:10.0"}}, {}, yes},
      {"host without a display number", {{"DISPLAY", "remote:"}}, {}, no},
      {"Wayland socket in the runtime folder",
       {{"WAYLAND_DISPLAY", "wayland-0"}, {"XDG_RUNTIME_DIR", "/run/user/1000"}},
       {"/run/user/1000/wayland-0"},
       yes},
      {"Wayland without its socket",
       {{"WAYLAND_DISPLAY", "wayland-0"}, {"XDG_RUNTIME_DIR", "/run/user/1000"}},
       {},
       no},
      {"Wayland without a runtime folder", {{"WAYLAND_DISPLAY", "wayland-0"}}, {"/wayland-0"}, no},
      {"offscreen platform needs no display", {{"QT_QPA_PLATFORM", "offscreen"}}, {}, yes},
      {"xcb named but no server", {{"QT_QPA_PLATFORM", "xcb"}, {"DISPLAY", ":1"}}, {}, no},
      {"xcb named, Wayland present but not asked for",
       {{"QT_QPA_PLATFORM", "xcb"}, {"WAYLAND_DISPLAY", "/run/w"}},
       {"/run/w"},
       no},
      {"platform list falls through to X11",
       {{"QT_QPA_PLATFORM", "wayland;xcb"}, {"DISPLAY", ":0"}},
       {"/tmp/.X11-unix/X0"},
       yes},
  };
  for (const Case &c : cases) {
    EXPECT_EQ(Check(c), c.expected) << c.label;
  }
}
