#!/usr/bin/env bash
# Installs into a temporary prefix and starts the installed game through its launcher.
set -eu
build="$1"
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" > /dev/null

for f in bin/quillmoor libexec/quillmoor/quillmoor share/quillmoor/Level1.txt \
         share/quillmoor/FONTS/romans.fnt share/quillmoor/bilder/titel.16B share/quillmoor/bilder/Gb16.16B \
         share/applications/quillmoor.desktop share/icons/hicolor/48x48/apps/quillmoor.png \
         bin/quillmoor-img16 bin/quillmoor-levelcheck; do
  [ -e "$prefix/$f" ] || { echo "missing after install: $f"; exit 1; }
done
[ "$(ls "$prefix/share/quillmoor/bilder" | wc -l)" -eq 83 ] || { echo "expected 83 pictures"; exit 1; }
grep -q '^Exec=quillmoor$' "$prefix/share/applications/quillmoor.desktop"

# The launcher finds its data from any working directory, through a symlink too.
script="$prefix/input.txt"
printf 'key 50 50; chars 13\n\n\nkeys 48\n\nchars 27\n' > "$script"
before=$(ls -lR "$prefix/share/quillmoor" | md5sum)
ln -s "$prefix/bin/quillmoor" "$prefix/linked-quillmoor"
for launcher in "$prefix/bin/quillmoor" "$prefix/linked-quillmoor"; do
  out=$(cd / && QUILL_DISPLAY=headless QUILL_INPUT="$script" "$launcher" 2>/dev/null)
  code=$?
  [ "$code" -eq 0 ] || { echo "$launcher: exit code $code"; exit 1; }
  [ -z "$out" ] || { echo "$launcher: unexpected output: $out"; exit 1; }
done
after=$(ls -lR "$prefix/share/quillmoor" | md5sum)
[ "$before" = "$after" ] || { echo "the game wrote into its data folder"; exit 1; }
"$prefix/bin/quillmoor-levelcheck" "$prefix/share/quillmoor/Level1.txt" > /dev/null
echo "ok: installed and started through the launcher"
