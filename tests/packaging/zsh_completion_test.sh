#!/usr/bin/env bash
# zsh_completion_test.sh COMPLETION_FUNCTION: the zsh completion of
# corvesta-cli is valid zsh, and a plain zsh (zsh -f) with compinit finds it
# on its fpath, binds it to corvesta-cli and loads it without a message.
set -euo pipefail

function_file=$1
name=$(basename "$function_file")
work=$(mktemp -d "${TMPDIR:-/tmp}/zsh-completion-test-XXXXXX")
trap 'rm -rf "$work"' EXIT
mkdir "$work/functions"
cp "$function_file" "$work/functions/"

zsh -n "$work/functions/$name"

output=$(HOME="$work" ZDOTDIR="$work" zsh -f -c '
  fpath=("$1" $fpath)
  autoload -Uz compinit
  compinit -u -D
  [[ ${_comps[corvesta-cli]} == _corvesta-cli ]] || { print "corvesta-cli is bound to \"${_comps[corvesta-cli]}\""; exit 1 }
  autoload +X _corvesta-cli || exit 1
  (( ${+functions[_corvesta-cli]} )) || { print "the function did not load"; exit 1 }
  [[ ${functions[_corvesta-cli]} == *format\)* ]] || { print "the function has no case for format"; exit 1 }
  print loaded' zsh "$work/functions" 2>&1)
if [[ $output != loaded ]]; then
  echo "FAIL: $output" >&2
  exit 1
fi
echo "zsh completion: loaded and bound under zsh -f"
