#!/usr/bin/env bash
# demo_tour_test.sh SOURCE BUILD: the tour that scripts/demo narrates without
# a display (scripts/demo-run --cli-tour), in its own namespace set-up against
# the demo's boxes. It must run to its end with status 0, and what each step
# tells must be there in what the commands printed: the wrong password
# refused, FARBOX in this PC's subnet at its new address after set-ip, and
# KS-NEW's RAID 1 volume (one disk's size) after format.
set -euo pipefail

source=$1
build=$2
work=$(mktemp -d "${TMPDIR:-/tmp}/demo-tour-test-XXXXXX")
trap 'rm -rf "$work"' EXIT
failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

status=0
env -u DISPLAY -u WAYLAND_DISPLAY CORVESTA_BUILD="$build" TMPDIR="$work" \
  "$source/scripts/demo-run" --cli-tour >"$work/tour" 2>&1 || status=$?
[[ $status == 0 ]] || fail "the tour ended with exit status $status"
if grep -q "The tour stops here" "$work/tour"; then
  fail "a step did not go as the tour tells it"
fi

# The narration, then the line of the command's own output that proves it.
# line | the line that must follow it somewhere after
claims=(
  'A wrong password:|^Username or password error\.$'
  'A new address by datagram|^The NAS has taken its new address settings\.$'
  'Search again:|^FARBOX  ip 10\.77\.0\.9  mask 255\.255\.255\.0  gateway 10\.77\.0\.1  static  .*  in subnet$'
  "FARBOX is now in this PC's subnet|^IP ADDress: 10\.77\.0\.9$"
  'Format them as a mirror|^Volume_1  0G Used/997G Available'
  "5\. KS-NEW's volume|^Volume_1  0G Used/997G Available"
  'End of the tour|'
)
for entry in "${claims[@]}"; do
  narration=${entry%%|*}
  proof=${entry#*|}
  at=$(grep -nE -- "$narration" "$work/tour" | head -n1 | cut -d: -f1 || true)
  if [[ -z $at ]]; then
    fail "the tour never says \"$narration\""
    continue
  fi
  if [[ -n $proof ]] && ! tail -n "+$at" "$work/tour" | grep -Eq -- "$proof"; then
    fail "after \"$narration\" no line like \"$proof\""
  fi
done

if ((failures > 0)); then
  echo "--- the tour:" >&2
  cat "$work/tour" >&2
  echo "$failures failure(s)" >&2
  exit 1
fi
echo "demo tour: every step did what it tells"
