#include "app/desktop_display.h"

#include <cstdlib>
#include <sys/stat.h>

namespace corvesta {
namespace {

constexpr std::string_view kX11SocketFolder = "/tmp/.X11-unix/X";

bool NonEmpty(const std::optional<std::string> &value) {
  return value && !value->empty();
}

// The display number of ":N", ":N.S", "unix:N" or "unix:N.S"; nothing for a
// display on another host or text that is no display.
std::optional<std::string> LocalX11Number(std::string_view display) {
  if (display.starts_with("unix:")) {
    display.remove_prefix(4);
  }
  if (!display.starts_with(':')) {
    return std::nullopt;
  }
  display.remove_prefix(1);
  const std::size_t dot = display.find('.');
  const std::string_view number = display.substr(0, dot);
  if (number.empty() || number.find_first_not_of("0123456789") != std::string_view::npos) {
    return std::nullopt;
  }
  return std::string(number);
}

bool WaylandReachable(const EnvironmentLookup &environment, const SocketProbe &probe) {
  const auto display = environment("WAYLAND_DISPLAY");
  if (!NonEmpty(display)) {
    return false;
  }
  if (display->front() == '/') {
    return probe(*display);
  }
  const auto runtime = environment("XDG_RUNTIME_DIR");
  return NonEmpty(runtime) && probe(*runtime + "/" + *display);
}

bool X11Reachable(const EnvironmentLookup &environment, const SocketProbe &probe) {
  const auto display = environment("DISPLAY");
  if (!NonEmpty(display)) {
    return false;
  }
  if (const auto number = LocalX11Number(*display)) {
    return probe(std::string(kX11SocketFolder) + *number);
  }
  // "host:N" (also "host/unix:N"): only Qt can tell whether it answers.
  const std::size_t colon = display->rfind(':');
  if (colon == std::string::npos || colon == 0 || display->starts_with("unix:")) {
    return false;
  }
  return LocalX11Number(std::string_view(*display).substr(colon)).has_value();
}

} // namespace

DisplayVerdict CheckDesktopDisplay(const EnvironmentLookup &environment, const SocketProbe &probe) {
  const auto platforms = environment("QT_QPA_PLATFORM");
  if (!NonEmpty(platforms)) {
    return WaylandReachable(environment, probe) || X11Reachable(environment, probe)
               ? DisplayVerdict::Available
               : DisplayVerdict::NoDisplay;
  }
  // "wayland;xcb": Qt tries each in turn.
  std::string_view rest = *platforms;
  while (!rest.empty()) {
    const std::size_t end = rest.find(';');
    const std::string_view name = rest.substr(0, end);
    rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
    if (name.empty()) {
      continue;
    }
    const bool reachable = name.starts_with("wayland") ? WaylandReachable(environment, probe)
                           : name.starts_with("xcb")   ? X11Reachable(environment, probe)
                                                       : true;
    if (reachable) {
      return DisplayVerdict::Available;
    }
  }
  return DisplayVerdict::NoDisplay;
}

DisplayVerdict CheckDesktopDisplay() {
  return CheckDesktopDisplay(
      [](std::string_view name) -> std::optional<std::string> {
        const char *value = std::getenv(std::string(name).c_str());
        if (value == nullptr) {
          return std::nullopt;
        }
        return std::string(value);
      },
      [](const std::string &path) {
        struct stat info {};
        return ::stat(path.c_str(), &info) == 0 && S_ISSOCK(info.st_mode);
      });
}

} // namespace corvesta
