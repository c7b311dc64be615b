#!/usr/bin/env bash
# no_display_test.sh CORVESTA CORVESTA_CLI VERSION: with no display at all
# (an empty environment, as over SSH or in a build), --help and --version of
# both programs answer on standard output with status 0, and a wrong option
# or word gives the usage on standard error with status 2 and no window.
set -euo pipefail

corvesta=$1
cli=$2
version=$3
work=$(mktemp -d "${TMPDIR:-/tmp}/no-display-test-XXXXXX")
trap 'rm -rf "$work"' EXIT
failures=0

# program, arguments... | expected status | start of standard output | part of standard error
cases=(
  "$corvesta --help|0|Usage: corvesta|"
  "$corvesta --version|0|corvesta $version|"
  "$corvesta -platform offscreen --version|0|corvesta $version|"
  "$corvesta --bogus|2||unknown option \"--bogus\""
  "$corvesta nas1|2||unexpected word \"nas1\""
  "$corvesta -x|2||Usage: corvesta"
  "$cli --help|0|Usage: corvesta-cli|"
  "$cli --version|0|corvesta-cli $version|"
)
for entry in "${cases[@]}"; do
  IFS='|' read -r command expected_status expected_out expected_err <<<"$entry"
  read -r -a words <<<"$command"
  status=0
  env -i PATH=/usr/bin:/bin HOME="$work" "${words[@]}" >"$work/out" 2>"$work/err" || status=$?
  problem=""
  [[ $status == "$expected_status" ]] || problem+=" status $status, expected $expected_status;"
  if [[ -n $expected_out ]]; then
    [[ $(head -n1 "$work/out") == "$expected_out"* ]] || problem+=" standard output: $(head -c 200 "$work/out");"
    [[ ! -s $work/err ]] || problem+=" standard error: $(head -c 200 "$work/err");"
  else
    [[ ! -s $work/out ]] || problem+=" standard output not empty: $(head -c 200 "$work/out");"
    grep -qF -- "$expected_err" "$work/err" || problem+=" standard error: $(head -c 200 "$work/err");"
  fi
  if [[ -n $problem ]]; then
    echo "FAIL: ${command##*/}:$problem" >&2
    failures=$((failures + 1))
  fi
done

if ((failures > 0)); then
  echo "$failures of ${#cases[@]} cases failed" >&2
  exit 1
fi
echo "no display: ${#cases[@]} cases passed"
