#!/usr/bin/env bash
# desktop_files_test.sh DESKTOP_ENTRY METAINFO: the desktop entry names,
# describes and finds the program in all five languages, and both files pass
# their validators without a word.
set -euo pipefail

entry=$1
metainfo=$2
failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

for key in Name GenericName Comment Keywords; do
  for locale in "" de es fr ru; do
    name=$key${locale:+[$locale]}
    value=$(awk -v key="$name" 'index($0, key "=") == 1 { print substr($0, length(key) + 2); exit }' "$entry")
    [[ -n $value ]] || fail "$name is missing or empty"
  done
done
# The entry starts the program by its name and carries the icon of the id.
id=$(basename "$entry" .desktop)
grep -qx "Exec=corvesta" "$entry" || fail "Exec is not corvesta"
grep -qx "Icon=$id" "$entry" || fail "Icon is not $id"
# One main category.
categories=$(sed -n 's/^Categories=//p' "$entry")
main=0
for category in ${categories//;/ }; do
  case $category in
  AudioVideo | Audio | Video | Development | Education | Game | Graphics | Network | Office | \
    Science | Settings | System | Utility) main=$((main + 1)) ;;
  esac
done
((main == 1)) || fail "$main main categories in \"$categories\""

report=$(desktop-file-validate "$entry" 2>&1) || fail "desktop-file-validate failed"
[[ -z $report ]] || fail "desktop-file-validate: $report"

report=$(appstreamcli validate --no-net --pedantic "$metainfo" 2>&1) ||
  fail "appstreamcli validate failed: $report"
if grep -Eq '^[WEI]:' <<<"$report"; then
  fail "appstreamcli validate: $report"
fi
grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$metainfo" ||
  fail "the metainfo does not launch $id.desktop"

if ((failures > 0)); then
  echo "$failures failure(s)" >&2
  exit 1
fi
echo "desktop entry and metainfo: all checks passed"
