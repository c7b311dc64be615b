#!/usr/bin/env bash
# man_pages_test.sh COMPLETIONS_TOOL MAN_FOLDER: every command of
# corvesta-cli's table has its entry in corvesta-cli.1, both pages have the
# sections people look for, and man renders them without a warning.
set -euo pipefail

tool=$1
folder=$2
failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

cli_page=$(zcat "$folder/corvesta-cli.1.gz")
commands=$("$tool" commands)
[[ -n $commands ]] || fail "the command table is empty"
for command in $commands; do
  # An entry of the COMMANDS section starts a paragraph with the bold name.
  grep -Eq "^\\\\fB$command\\\\fR( |\$)" <<<"$cli_page" || fail "corvesta-cli.1 has no entry for $command"
done

for page in corvesta.1 corvesta-cli.1; do
  text=$(zcat "$folder/$page.gz")
  for section in NAME SYNOPSIS DESCRIPTION FILES LANGUAGE ENVIRONMENT "EXIT STATUS" EXAMPLES; do
    grep -q "^\.SH $section\$" <<<"$text" || fail "$page has no $section section"
  done
  for code in FRE GER SPA RUS; do
    grep -q "$code" <<<"$text" || fail "$page does not name the language code $code"
  done
  warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l "$folder/$page.gz" 2>&1 >/dev/null)
  [[ -z $warnings ]] || fail "man warns about $page: $warnings"
  [[ $(gzip -l "$folder/$page.gz" | awk 'NR == 2 { print $2 }') -gt 0 ]] || fail "$page is empty"
done
grep -q "CORVESTA_PASSWORD" <<<"$cli_page" || fail "corvesta-cli.1 does not name CORVESTA_PASSWORD"

if ((failures > 0)); then
  echo "$failures failure(s)" >&2
  exit 1
fi
echo "manual pages: all checks passed"
