#!/usr/bin/env bash
# corvesta-cli's drives as a person uses them, run by scripts/sim-netns --samba
# as the desktop user (tests/desktop/boxes.json): every account's SMB share
# list is the box's own; map, drives and unmap; after a logout, a new
# session reconnects a remembered drive from the keyring, and with an empty
# keyring from the box's remembered login.
#
#   cli_session_test.sh CORVESTA-CLI
set -euo pipefail

cli=$1
root=$(cd "$(dirname "$0")/../.." && pwd)
failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

# A session of its own: its own bus, its own GVfs, the same home.
session() {
  dbus-run-session -- "$root/scripts/desktop-session" "$@"
}

# 1. Each account sees over SMB exactly the shares the box lists (USB too).
for account in admin:admin123 anna:anna2024; do
  user=${account%%:*}
  password=${account#*:}
  smb=$(smbclient -g -L //127.0.0.3 -U "$user%$password" 2>/dev/null |
    awk -F'|' '$1 == "Disk" { print $2 }' | sort)
  box=$(printf '%s\n' "$password" |
    "$cli" shares HOMESTORE --user "$user" --password-stdin --json |
    python3 -c 'import json, sys; print("\n".join(sorted(s["name"] for s in json.load(sys.stdin))))')
  [[ -n "$smb" && "$smb" == "$box" ]] ||
    fail "$user: SMB lists [$(echo $smb)], the box [$(echo $box)]"
done

photos="$SAMBA_ROOT/HOMESTORE/shares/Photos"
echo "marker" >"$photos/marker.txt" 2>/dev/null || true

# 2. map without a letter takes Z:, drives shows it, the files are there.
session bash -c "printf 'anna2024\n' | '$cli' map HOMESTORE Photos --user anna --password-stdin >/dev/null &&
  '$cli' drives --json >'$HOME/drives.json' && cat '$HOME/Drives/Z/marker.txt' >'$HOME/read.txt'" ||
  fail "map in the first session"
python3 - "$HOME/drives.json" <<'PY' || fail "drives --json after map"
import json, sys
drives = json.load(open(sys.argv[1]))
assert len(drives) == 1, drives
d = drives[0]
assert (d["letter"], d["share"], d["user"], d["box"]) == ("Z:", "Photos", "anna", "HOMESTORE"), d
assert d["remembered"] and d["connected"], d
PY
[[ "$(cat "$HOME/read.txt" 2>/dev/null)" == marker ]] || fail "the share's file through ~/Drives/Z"

# 3. After the logout a new session reconnects from the keyring.
session bash -c "'$cli' reconnect && cat '$HOME/Drives/Z/marker.txt' >'$HOME/again.txt'" ||
  fail "reconnect from the keyring"
[[ "$(cat "$HOME/again.txt" 2>/dev/null)" == marker ]] || fail "files after reconnect"

# 4. With an empty keyring, the box's remembered login serves; without one
#    the drive is named as failed.
rm -rf "$HOME/.local/share/keyrings"
if session "$cli" reconnect 2>"$HOME/reconnect.err"; then
  fail "reconnect without any password succeeded"
fi
grep -q '^Z: ' "$HOME/reconnect.err" || fail "the failed drive is not named"
printf 'anna2024\n' | "$cli" connect HOMESTORE --user anna --password-stdin --remember >/dev/null ||
  fail "remembering anna's login"
rm -rf "$HOME/.local/share/keyrings"
session bash -c "'$cli' reconnect && cat '$HOME/Drives/Z/marker.txt' >'$HOME/remembered.txt'" ||
  fail "reconnect with the remembered login"
[[ "$(cat "$HOME/remembered.txt" 2>/dev/null)" == marker ]] || fail "files after that reconnect"

# 5. unmap removes the letter, its link and its bookmark.
session "$cli" unmap Z >/dev/null || fail "unmap"
[[ ! -e "$HOME/Drives/Z" && ! -L "$HOME/Drives/Z" ]] || fail "the link stayed"
! grep -q ' Z: Photos' "$HOME/.config/gtk-3.0/bookmarks" 2>/dev/null || fail "the bookmark stayed"
[[ "$(session "$cli" drives)" == "No network drives." ]] || fail "drives after unmap"

if ((failures > 0)); then
  echo "$failures failure(s)" >&2
  exit 1
fi
echo "all passed"
