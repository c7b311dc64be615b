#!/usr/bin/env bash
# bash_completion_test.sh COMPLETION_SCRIPT: the completion function of
# corvesta-cli, called as bash calls it (COMP_WORDS, COMP_CWORD), offers the
# commands, each command's options, the words a command takes and the
# boxes remembered in the settings file.
set -euo pipefail

script=$1
work=$(mktemp -d "${TMPDIR:-/tmp}/bash-completion-test-XXXXXX")
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/config/Utility"
# Two remembered boxes; the other sections name none (in any letter case).
printf '%s\r\n' '[language]' 'Language=GER' '[Current]' 'ServName=NAS-01' '[NAS-01]' \
  'UserName=admin' '[Cellar]' 'UserName=guest' '[USED]' 'FirstOpen=FALSE' \
  >"$work/config/Utility/Utility.ini"

# The replies for the words typed so far; the last word is the one completed.
complete_line() {
  XDG_CONFIG_HOME="${config_home:-$work/config}" bash --norc --noprofile -c '
    source "$1"
    shift
    COMP_WORDS=("$@")
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
    _corvesta_cli
    printf "%s\n" "${COMPREPLY[@]}" | sort | paste -sd" " -' bash "$script" "$@"
}

failures=0
# words typed (the last is completed; "" is an empty word) | expected replies
cases=(
  'corvesta-cli ""|center connect discover disks drives format identity info map network password reconnect set-ip shares timezone unmap'
  'corvesta-cli s|set-ip shares'
  'corvesta-cli --|--help --version'
  'corvesta-cli format --|--forget --help --password-stdin --remember --user --verbose --yes'
  'corvesta-cli discover --|--help --json'
  'corvesta-cli format ""|Cellar NAS-01'
  'corvesta-cli format N|NAS-01'
  'corvesta-cli format NAS-01 raid|raid0 raid1'
  'corvesta-cli --user admin format Cellar ""|jbod raid0 raid1 standalone'
  'corvesta-cli format --user admin NAS-01 j|jbod'
  'corvesta-cli center NAS-01 --print d|download'
  'corvesta-cli identity NAS-01 --name ""|'
  'corvesta-cli identity NAS-01 --name = ""|'
  'corvesta-cli format NAS-01 raid1 ""|'
  'corvesta-cli unknown ""|'
)
for entry in "${cases[@]}"; do
  typed=${entry%%|*}
  expected=${entry#*|}
  eval "words=($typed)"
  actual=$(complete_line "${words[@]}")
  if [[ $actual != "$expected" ]]; then
    echo "FAIL: $typed: expected \"$expected\", got \"$actual\"" >&2
    failures=$((failures + 1))
  fi
done

# Without a settings file a box is not offered, and nothing fails.
actual=$(config_home="$work/none" complete_line corvesta-cli info "")
if [[ -n $actual ]]; then
  echo "FAIL: boxes offered without a settings file: $actual" >&2
  failures=$((failures + 1))
fi

if ((failures > 0)); then
  echo "$failures of ${#cases[@]} cases failed" >&2
  exit 1
fi
echo "bash completion: ${#cases[@]} cases passed"
