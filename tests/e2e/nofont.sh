#!/usr/bin/env bash
# A game folder without the font: the game says so on standard output and ends with code 1.
set -u
build="$1"
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
cp -r "$build/game/." "$dir/"
rm -rf "$dir/FONTS" "$dir/romans.fnt"
printf 'chars 13\nchars 27\n' > "$dir/input.txt"
out=$(cd "$dir" && QUILL_DISPLAY=headless QUILL_INPUT=input.txt ./quillmoor 2>/dev/null; echo "code $?")
expected=$'Fehler beim FontLaden\ncode 1'
if [ "$out" != "$expected" ]; then
  echo "expected: $(printf '%q' "$expected")"
  echo "got:      $(printf '%q' "$out")"
  exit 1
fi
echo "ok: missing font reported, exit code 1"
