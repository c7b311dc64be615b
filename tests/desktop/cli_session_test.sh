#!/usr/bin/env bash
# corvesta-cli's drives as a person uses them, run by scripts/sim-netns --samba
# as the desktop user (tests/desktop/boxes.json): every account's SMB share
# list is the box's own; map, drives and unmap; after a logout, a new
# session reconnects a remembered drive from the keyring, and with an empty
# keyring from the box's remembered login; unmap takes the keyring's
# password with the last drive that used it. Two maps at once: of one share
# (one live drive, one refusal) and of two shares (two letters). Drive
# records that cannot be read, and a read-only settings folder.
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

# A session of its own: its own bus, its own GVfs, the same home. Its end is
# a logout: the session's FUSE folder goes with it, as the runtime folder
# goes at a desktop's logout. Left mounted by a GVfs daemon still ending,
# it would keep the next session's daemon from mounting its own there.
session() {
  local status=0
  dbus-run-session -- "$root/scripts/desktop-session" "$@" || status=$?
  local fuse="$XDG_RUNTIME_DIR/gvfs"
  for _ in $(seq 20); do
    grep -q " $fuse " /proc/self/mountinfo || break
    sleep 0.1
  done
  if grep -q " $fuse " /proc/self/mountinfo; then
    fusermount3 -u -z "$fuse" 2>/dev/null || true
  fi
  return "$status"
}

# True when the keyring holds the SMB password of anna on HOMESTORE.
keyring_holds_anna() {
  session secret-tool search --all protocol smb server 127.0.0.3 user anna 2>&1 |
    grep -q '^attribute.user = anna$'
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

# 5. unmap removes the letter, its link, its bookmark and the password GVfs
#    kept for it.
keyring_holds_anna || fail "no password in the keyring before unmap"
session "$cli" unmap Z >/dev/null || fail "unmap"
! keyring_holds_anna || fail "the password stayed in the keyring after unmap"
[[ ! -e "$HOME/Drives/Z" && ! -L "$HOME/Drives/Z" ]] || fail "the link stayed"
! grep -q ' Z: Photos' "$HOME/.config/gtk-3.0/bookmarks" 2>/dev/null || fail "the bookmark stayed"
[[ "$(session "$cli" drives)" == "No network drives." ]] || fail "drives after unmap"

# Maps the shares "$@" at once in one desktop session (SHARE.out and
# SHARE.status in $HOME, one per map), then lists the drives into
# $HOME/drives.json.
maps_at_once() {
  session bash -c '
    cli=$1
    shift
    for share in "$@"; do
      (printf "anna2024\n" | "$cli" map HOMESTORE "${share%%#*}" --user anna --password-stdin \
        >"$HOME/$share.out" 2>&1; echo $? >"$HOME/$share.status") &
    done
    wait
    "$cli" drives --json >"$HOME/drives.json"
    # The FUSE folder of a new session can lag behind its first mount, the
    # more so on a loaded machine.
    for _ in $(seq 100); do
      cat "$HOME/Drives/Z/marker.txt" >"$HOME/read.txt" 2>&1 && break
      sleep 0.1
    done' _ "$cli" "$@"
}

# 6. Two maps of one share at once: the one that says so has a live drive,
#    the other fails and leaves it alone.
for round in 1 2 3 4 5; do
  rm -f "$HOME/read.txt"
  maps_at_once 'Photos#1' 'Photos#2' || fail "round $round: the maps of one share"
  statuses=$(cat "$HOME/Photos#1.status" "$HOME/Photos#2.status" | sort | tr '\n' ' ')
  [[ "$statuses" == "0 1 " ]] ||
    fail "round $round: one map must succeed, one fail: $statuses ($(cat "$HOME"/Photos#?.out))"
  grep -qh 'connected to another drive letter' "$HOME/Photos#1.out" "$HOME/Photos#2.out" ||
    fail "round $round: the loser's cause: $(cat "$HOME"/Photos#?.out)"
  python3 - "$HOME/drives.json" <<'PY' || fail "round $round: the winner's drive"
import json, sys
drives = json.load(open(sys.argv[1]))
assert [(d["letter"], d["connected"]) for d in drives] == [("Z:", True)], drives
PY
  [[ "$(cat "$HOME/read.txt" 2>/dev/null)" == marker ]] ||
    fail "round $round: the winner's files through ~/Drives/Z ($(cat "$HOME/read.txt" 2>&1))"
  session "$cli" unmap Z >/dev/null || fail "round $round: unmap"
done

# 7. Two maps of different shares at once without a letter: Z and Y, into
#    a table that is a link (it stays one).
mkdir -p "$HOME/dotfiles"
: >"$HOME/dotfiles/drives.ini"
rm -f "$HOME/.config/Utility/Drives.ini"
ln -s ../../dotfiles/drives.ini "$HOME/.config/Utility/Drives.ini"
maps_at_once Photos Public || fail "the maps of two shares"
[[ -L "$HOME/.config/Utility/Drives.ini" ]] || fail "the table's link was replaced"
grep -q '^share=Public$' "$HOME/dotfiles/drives.ini" || fail "the link's target was not written"
[[ "$(cat "$HOME/Photos.status" "$HOME/Public.status" | tr '\n' ' ')" == "0 0 " ]] ||
  fail "both maps must succeed: $(cat "$HOME/Photos.out" "$HOME/Public.out")"
python3 - "$HOME/drives.json" <<'PY' || fail "two shares on Z and Y"
import json, sys
drives = json.load(open(sys.argv[1]))
got = sorted((d["letter"], d["share"], d["connected"]) for d in drives)
assert [g[0] for g in got] == ["Y:", "Z:"] and all(g[2] for g in got), got
assert sorted(g[1] for g in got) == ["Photos", "Public"], got
PY
# The password stays while another drive of that user on that box remains.
session "$cli" unmap Z >/dev/null || fail "unmap Z of two"
keyring_holds_anna || fail "the password went with the first of two drives"
session "$cli" unmap Y >/dev/null || fail "unmap Y of two"
! keyring_holds_anna || fail "the password stayed after the last drive"

# 8. Drive records that cannot be read are said to be so, by drives and by
#    reconnect, never "No network drives.".
table="$HOME/.config/Utility/Drives.ini"
for form in junk folder large unreadable; do
  rm -rf "$table"
  case $form in
    junk) printf '\x01\x02 not a table\n' >"$table" ;;
    folder) mkdir "$table" ;;
    large) head -c 20000000 /dev/zero | tr '\0' 'x' >"$table" ;;
    unreadable) printf '' >"$table" && chmod 000 "$table" ;;
  esac
  for command in drives reconnect; do
    if session "$cli" $command >"$HOME/out.txt" 2>"$HOME/err.txt"; then
      fail "$command with a $form table exits 0"
    fi
    grep -q 'could not be read' "$HOME/err.txt" ||
      fail "$command with a $form table: $(cat "$HOME/err.txt")"
    ! grep -q 'No network drives' "$HOME/out.txt" || fail "$command with a $form table: no drives"
  done
done
chmod 600 "$table" 2>/dev/null || true
rm -rf "$table"

# 9. A settings folder made read-only stays so, and remembering says it failed.
chmod 0500 "$HOME/.config/Utility"
printf 'admin123\n' | "$cli" connect HOMESTORE --user admin --password-stdin --remember \
  >/dev/null 2>"$HOME/err.txt" || true
grep -q 'nothing was remembered' "$HOME/err.txt" ||
  fail "remembering in a read-only folder: $(cat "$HOME/err.txt")"
[[ "$(stat -c %a "$HOME/.config/Utility")" == 500 ]] ||
  fail "the read-only settings folder became $(stat -c %a "$HOME/.config/Utility")"
chmod 0700 "$HOME/.config/Utility"

if ((failures > 0)); then
  echo "$failures failure(s)" >&2
  exit 1
fi
echo "all passed"
