#!/usr/bin/env bash
# check_format_test.sh CHECK_FORMAT: runs scripts/check-format on files made
# here, laid out well and badly, and checks its exit status and the files it
# names. The files are written at run time, so that no badly laid out file
# is kept in the tree.
set -euo pipefail

check_format=$1
work=$(mktemp -d "${TMPDIR:-/tmp}/check-format-test-XXXXXX")
trap 'rm -rf "$work"' EXIT
failures=0

fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

cat >"$work/good.cpp" <<'CODE'
#include "good.h"

int Twice(int value) {
  return value * 2;
}
CODE
cat >"$work/good.h" <<'CODE'
#pragma once

int Twice(int value);
CODE
printf 'int  Twice(int value){return value*2;}\n' >"$work/bad.cpp"
printf 'struct  Box {int size;};\n' >"$work/bad name.h"

# case: files, expected status, files expected in the report (| separated)
cases=(
  "good.cpp good.h|0|"
  "bad.cpp|1|bad.cpp"
  "good.cpp bad.cpp good.h bad name.h|1|bad.cpp|bad name.h"
)
for entry in "${cases[@]}"; do
  IFS='|' read -r -a fields <<<"$entry"
  listed=${fields[0]}
  expected_status=${fields[1]}
  expected_names=("${fields[@]:2}")

  args=()
  for name in good.cpp good.h bad.cpp "bad name.h"; do
    [[ " $listed " == *" $name "* ]] && args+=("$work/$name")
  done
  status=0
  output=$("$check_format" "${args[@]}" 2>&1) || status=$?
  if [[ "$status" != "$expected_status" ]]; then
    fail "[$listed] exit status $status, expected $expected_status: $output"
  fi
  for name in good.cpp good.h bad.cpp "bad name.h"; do
    named=0
    grep -qxF "  $work/$name" <<<"$output" && named=1
    wanted=0
    for expected in "${expected_names[@]}"; do
      [[ "$expected" == "$name" ]] && wanted=1
    done
    if ((named != wanted)); then
      fail "[$listed] $name named: $named, expected $wanted: $output"
    fi
  done
done

# The check changes nothing.
if [[ "$(cat "$work/bad.cpp")" != 'int  Twice(int value){return value*2;}' ]]; then
  fail "bad.cpp was rewritten"
fi

# A file that does not exist is an error of its own, not a pass.
status=0
"$check_format" "$work/missing.cpp" >/dev/null 2>&1 || status=$?
if ((status != 2)); then
  fail "a missing file gave exit status $status, expected 2"
fi

if ((failures > 0)); then
  exit 1
fi
echo "check-format: every case as expected"
