#!/usr/bin/env bash
# readme_images_test.sh README: every picture README shows has alt text and
# exists as a PNG beside it.
set -euo pipefail

readme=$1
folder=$(dirname "$readme")
failures=0
count=0
while IFS= read -r image; do
  count=$((count + 1))
  alt=$(sed -E 's/^!\[([^]]*)\].*/\1/' <<<"$image")
  path=$(sed -E 's/^!\[[^]]*\]\(([^) ]*).*/\1/' <<<"$image")
  [[ -n $alt ]] || {
    echo "FAIL: $path has no alt text" >&2
    failures=$((failures + 1))
  }
  if [[ ! -s $folder/$path ]] || [[ $(head -c 8 "$folder/$path" | od -An -tx1 | tr -d ' \n') != 89504e470d0a1a0a ]]; then
    echo "FAIL: $path is missing or not a PNG" >&2
    failures=$((failures + 1))
  fi
done < <(grep -oE '!\[[^]]*\]\([^)]*\)' "$readme")
((count > 0)) || {
  echo "FAIL: README shows no picture" >&2
  exit 1
}
((failures == 0)) || exit 1
echo "README: $count pictures, each with alt text, each present"
