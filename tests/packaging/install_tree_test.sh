#!/usr/bin/env bash
# install_tree_test.sh BUILD_FOLDER APP_ID: "cmake --install" of the built
# tree puts exactly the expected files under /usr, with the modes a package
# needs, and nothing of the tests, benchmarks or the simulated box.
set -euo pipefail

build=$1
id=$2
work=$(mktemp -d "${TMPDIR:-/tmp}/install-tree-test-XXXXXX")
trap 'rm -rf "$work"' EXIT

DESTDIR="$work/root" cmake --install "$build" --prefix /usr >"$work/log"

expected=(
  usr/bin/corvesta
  usr/bin/corvesta-cli
  "usr/share/applications/$id.desktop"
  "usr/share/metainfo/$id.metainfo.xml"
  usr/share/man/man1/corvesta.1.gz
  usr/share/man/man1/corvesta-cli.1.gz
  usr/share/bash-completion/completions/corvesta-cli
  usr/share/zsh/vendor-completions/_corvesta-cli
  usr/share/doc/corvesta/copyright
  usr/share/doc/corvesta/changelog.gz
  "usr/share/icons/hicolor/scalable/apps/$id.svg"
)
for size in 16 22 24 32 48 64 128 256 512; do
  expected+=("usr/share/icons/hicolor/${size}x${size}/apps/$id.png")
done

actual=$(cd "$work/root" && find . -type f -printf '%P\n' | sort)
wanted=$(printf '%s\n' "${expected[@]}" | sort)
if [[ $actual != "$wanted" ]]; then
  echo "FAIL: the installed files differ from the expected ones" >&2
  diff <(echo "$wanted") <(echo "$actual") >&2 || true
  exit 1
fi

failures=0
for file in "${expected[@]}"; do
  mode=$(stat -c %a "$work/root/$file")
  want=644
  [[ $file == usr/bin/* ]] && want=755
  if [[ $mode != "$want" ]]; then
    echo "FAIL: $file has mode $mode, expected $want" >&2
    failures=$((failures + 1))
  fi
done
for size in 16 256; do
  png="$work/root/usr/share/icons/hicolor/${size}x${size}/apps/$id.png"
  # The PNG header holds the width and height as 32-bit big-endian numbers.
  dimensions=$(od -An -tu1 -j16 -N8 "$png" | awk '{ print $3 * 256 + $4 "x" $7 * 256 + $8 }')
  if [[ $dimensions != "${size}x${size}" ]]; then
    echo "FAIL: the ${size} px icon is $dimensions" >&2
    failures=$((failures + 1))
  fi
done
((failures == 0)) || exit 1
echo "install tree: ${#expected[@]} files, as expected"
