#pragma once
// Whether the windows can be shown: the windowing platform the Qt program
// will use and whether its display can be reached, decided from the
// environment before Qt is started (Qt aborts the process when it cannot
// open its platform).

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace corvesta {

// Reads one environment variable; nothing when it is unset.
using EnvironmentLookup = std::function<std::optional<std::string>(std::string_view name)>;
// Whether a filesystem socket exists at the path.
using SocketProbe = std::function<bool(const std::string &path)>;

enum class DisplayVerdict {
  Available, // a platform is named or a display socket exists
  NoDisplay, // neither a Wayland nor an X11 display is set or reachable
};

// QT_QPA_PLATFORM names the platforms Qt tries in turn ("wayland;xcb"); one
// that is not a desktop platform (offscreen, vnc ...) is trusted as it is.
// Without it both desktop platforms are tried. A Wayland
// display counts when its socket exists in XDG_RUNTIME_DIR, and an X11
// display ":N" or "unix:N" when /tmp/.X11-unix/XN exists. A display on
// another host ("host:N") is left for Qt to try.
DisplayVerdict CheckDesktopDisplay(const EnvironmentLookup &environment, const SocketProbe &probe);

// The same, over the process environment and the file system.
DisplayVerdict CheckDesktopDisplay();

} // namespace corvesta
