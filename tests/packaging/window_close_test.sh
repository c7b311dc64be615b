#!/usr/bin/env bash
# window_close_test.sh CORVESTA: on an X server (run it under xvfb-run), the
# program started as people start it, with settings of its own, keeps running
# while its window is open; once the window is asked to close, as a window
# manager's close button does (WM_DELETE_WINDOW), the process ends by itself
# with status 0.
set -euo pipefail

corvesta=$1
work=$(mktemp -d "${TMPDIR:-/tmp}/window-close-test-XXXXXX")
program=0
cleanup() {
  if ((program > 0)) && kill -0 "$program" 2>/dev/null; then
    kill -KILL "$program" 2>/dev/null || true
  fi
  rm -rf "$work"
}
trap cleanup EXIT

[[ -n "${DISPLAY:-}" ]] || { echo "FAIL: no X display (run under xvfb-run)" >&2; exit 1; }

# close-window PID SECONDS: waits for a window of process PID that is mapped,
# then sends it WM_DELETE_WINDOW. Xlib through ctypes: no tool beyond
# Python and the X library the Qt platform plugin uses.
close_window() {
  python3 - "$1" "$2" <<'PY'
import ctypes, sys, time
from ctypes import (POINTER, Structure, Union, byref, c_char_p, c_int, c_long, c_ubyte,
                    c_uint, c_ulong, c_void_p)

pid, limit = int(sys.argv[1]), float(sys.argv[2])
x = ctypes.CDLL("libX11.so.6")
x.XOpenDisplay.restype = c_void_p
x.XOpenDisplay.argtypes = [c_char_p]
x.XDefaultRootWindow.restype = c_ulong
x.XDefaultRootWindow.argtypes = [c_void_p]
x.XInternAtom.restype = c_ulong
x.XInternAtom.argtypes = [c_void_p, c_char_p, c_int]
x.XQueryTree.argtypes = [c_void_p, c_ulong, POINTER(c_ulong), POINTER(c_ulong),
                         POINTER(POINTER(c_ulong)), POINTER(c_uint)]
x.XGetWindowProperty.argtypes = [c_void_p, c_ulong, c_ulong, c_long, c_long, c_int, c_ulong,
                                 POINTER(c_ulong), POINTER(c_int), POINTER(c_ulong),
                                 POINTER(c_ulong), POINTER(POINTER(c_ubyte))]
x.XFree.argtypes = [c_void_p]
x.XSendEvent.argtypes = [c_void_p, c_ulong, c_int, c_long, c_void_p]
x.XFlush.argtypes = [c_void_p]


class Attributes(Structure):
    _fields_ = [("x", c_int), ("y", c_int), ("width", c_int), ("height", c_int),
                ("border_width", c_int), ("depth", c_int), ("visual", c_void_p),
                ("root", c_ulong), ("class_", c_int), ("bit_gravity", c_int),
                ("win_gravity", c_int), ("backing_store", c_int), ("backing_planes", c_ulong),
                ("backing_pixel", c_ulong), ("save_under", c_int), ("colormap", c_ulong),
                ("map_installed", c_int), ("map_state", c_int), ("all_event_masks", c_long),
                ("your_event_mask", c_long), ("do_not_propagate_mask", c_long),
                ("override_redirect", c_int), ("screen", c_void_p)]


class ClientMessage(Structure):
    _fields_ = [("type", c_int), ("serial", c_ulong), ("send_event", c_int),
                ("display", c_void_p), ("window", c_ulong), ("message_type", c_ulong),
                ("format", c_int), ("data", c_long * 5)]


class Event(Union):
    _fields_ = [("client", ClientMessage), ("pad", c_long * 24)]


x.XGetWindowAttributes.argtypes = [c_void_p, c_ulong, POINTER(Attributes)]
display = x.XOpenDisplay(None)
if not display:
    sys.exit("cannot open the display")
root = x.XDefaultRootWindow(display)
net_wm_pid = x.XInternAtom(display, b"_NET_WM_PID", 0)
protocols = x.XInternAtom(display, b"WM_PROTOCOLS", 0)
delete = x.XInternAtom(display, b"WM_DELETE_WINDOW", 0)
CARDINAL, IS_VIEWABLE, CLIENT_MESSAGE = 6, 2, 33


def window_pid(window):
    kind, fmt, count, after = c_ulong(), c_int(), c_ulong(), c_ulong()
    data = POINTER(c_ubyte)()
    if x.XGetWindowProperty(display, window, net_wm_pid, 0, 1, 0, CARDINAL, byref(kind),
                            byref(fmt), byref(count), byref(after), byref(data)) != 0:
        return None
    value = ctypes.cast(data, POINTER(c_ulong))[0] if count.value == 1 and fmt.value == 32 else None
    if data:
        x.XFree(data)
    return value


def shown_windows():
    root_back, parent = c_ulong(), c_ulong()
    children, count = POINTER(c_ulong)(), c_uint()
    if not x.XQueryTree(display, root, byref(root_back), byref(parent), byref(children),
                        byref(count)):
        return []
    found = []
    for i in range(count.value):
        window = children[i]
        attributes = Attributes()
        if (window_pid(window) == pid and x.XGetWindowAttributes(display, window, byref(attributes))
                and attributes.map_state == IS_VIEWABLE):
            found.append(window)
    if children:
        x.XFree(children)
    return found


deadline = time.monotonic() + limit
windows = shown_windows()
while not windows and time.monotonic() < deadline:
    time.sleep(0.2)
    windows = shown_windows()
if len(windows) != 1:
    sys.exit(f"expected one shown window of process {pid}, found {len(windows)}")
event = Event()
event.client.type = CLIENT_MESSAGE
event.client.window = windows[0]
event.client.message_type = protocols
event.client.format = 32
event.client.data[0] = delete
x.XSendEvent(display, windows[0], 0, 0, byref(event))
x.XFlush(display)
PY
}

status=0
env -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb XDG_CONFIG_HOME="$work/config" "$corvesta" \
  >"$work/out" 2>&1 &
program=$!

# Its window shows, and the process keeps running while it does.
close_window "$program" 30 2>"$work/close" || status=$?
if ((status != 0)); then
  echo "FAIL: the window could not be closed: $(cat "$work/close")" >&2
  cat "$work/out" >&2
  exit 1
fi

# Then the process ends by itself, with status 0.
for ((waited = 0; waited < 100; waited++)); do
  kill -0 "$program" 2>/dev/null || break
  sleep 0.1
done
if kill -0 "$program" 2>/dev/null; then
  echo "FAIL: the process still runs 10 s after its window closed" >&2
  exit 1
fi
wait "$program" || status=$?
program=0
if ((status != 0)); then
  echo "FAIL: the process ended with status $status" >&2
  cat "$work/out" >&2
  exit 1
fi
echo "window close: the process ended with its window"
