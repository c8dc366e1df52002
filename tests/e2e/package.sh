#!/usr/bin/env bash
# Builds the Debian package, checks what it holds against the expected layout,
# unpacks it into a scratch root and plays the installed game from another
# folder; runs the validators of the desktop entry, the AppStream data, the
# manual pages and the package. With CI=true, as root and when the game is not
# installed yet, also installs it with dpkg and removes it again.
set -eu
build="$1"
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
fail() { echo "package: $*"; exit 1; }
source "$(dirname "$0")/lib/packages.sh"

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
app=$(sed -n 's/^QUILL_APP_ID:STRING=//p' "$build/CMakeCache.txt")
cpack -G DEB -B "$scratch/out" --config "$build/CPackConfig.cmake" > "$scratch/cpack.log" 2>&1 ||
  { cat "$scratch/cpack.log"; fail "cpack failed"; }
deb="$scratch/out/quillmoor_${version}_$(dpkg --print-architecture).deb"
[ -f "$deb" ] || fail "no $deb"

# Every file the package holds, and nothing else.
{
  game_files "$app"
  printf './usr/share/games/quillmoor/Level%d.txt\n' 1 2 3 4 5 6
  printf '%s\n' ./usr/share/games/quillmoor/FONTS/romans.fnt \
    ./usr/share/doc/quillmoor/copyright ./usr/share/doc/quillmoor/changelog.gz \
    ./usr/share/lintian/overrides/quillmoor
  (cd "$build/game" && find locale -type f | sed 's|^|./usr/share/|')
  for folder in bilder sounds; do
    [ -d "$build/game/$folder" ] || continue
    (cd "$build/game" && find "$folder" -type f ! -name .stamp | sed 's|^|./usr/share/games/quillmoor/|')
  done
} | sort > "$scratch/expected"
deb_files "$deb" | sort > "$scratch/actual"
diff "$scratch/expected" "$scratch/actual" || fail "the package's files differ from the expected layout (- expected, + packed)"
[ "$(grep -c '/bilder/.*\.16B$' "$scratch/actual")" -eq 89 ] || fail "expected 89 pictures"
[ "$(grep -c '/sounds/.*\.wav$' "$scratch/actual")" -eq 13 ] || fail "expected 13 sounds"
[ -z "$(dpkg-deb -c "$deb" | awk '$1 ~ /w/ && $1 ~ /^-.{5}w|^-.{8}w/')" ] || fail "files writable by group or others"
dpkg-deb -f "$deb" Depends | grep -q 'fonts-dejavu-core' || fail "no dependency on the dialog's font"
dpkg-deb -f "$deb" Depends | grep -q 'libsdl2' || fail "no library dependencies from the binaries"
dpkg-deb -f "$deb" Depends | grep -q 'libsdl2-mixer' || fail "no dependency on the sound mixer"

# Unpacked: the game starts from any folder, through a symlink too; F12 saves
# where it was started, and the data folder stays as it was.
root="$scratch/root"
dpkg-deb -x "$deb" "$root"
data="$root/usr/share/games/quillmoor"
before=$(cd "$data" && find . -printf '%p %s %T@ %m\n' | sort | md5sum)
ln -s "$root/usr/games/quillmoor" "$scratch/linked-quillmoor"
for launcher in "$root/usr/games/quillmoor" "$scratch/linked-quillmoor"; do
  play_headless "$launcher" "$scratch" || fail "the unpacked game"
done
after=$(cd "$data" && find . -printf '%p %s %T@ %m\n' | sort | md5sum)
[ "$before" = "$after" ] || fail "the game wrote into its data folder"
for n in 1 2 3 4 5 6; do
  "$root/usr/bin/quillmoor-levelcheck" "$data/Level$n.txt" > /dev/null || fail "the installed Level$n.txt does not pass its check"
done

# One version everywhere.
for tool in quillmoor-img16 quillmoor-levelcheck; do
  [ "$("$root/usr/bin/$tool" --version)" = "$tool $version" ] || fail "$tool --version"
done
[ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fail "package version"
grep -q "<release version=\"$version\"" "$root/usr/share/metainfo/$app.metainfo.xml" || fail "metainfo release"
for page in "$root"/usr/share/man/man*/*.gz; do
  zcat "$page" | grep -q "^\.TH .* \"Quillmoor $version\"" || fail "$page: version"
done

# The validators.
desktop-file-validate "$root/usr/share/applications/$app.desktop" || fail "desktop entry"
exec=$(sed -n 's/^Exec=//p' "$root/usr/share/applications/$app.desktop")
[ "$exec" = /usr/games/quillmoor ] || fail "the menu runs $exec"
appstreamcli validate --no-net --pedantic "$root/usr/share/metainfo/$app.metainfo.xml" > "$scratch/as.log" 2>&1 ||
  { cat "$scratch/as.log"; fail "AppStream data"; }
for page in "$root"/usr/share/man/man*/*.gz; do
  plain="$scratch/$(basename "$page" .gz)"
  zcat "$page" > "$plain"
  mandoc -Tlint -Wwarning "$plain" || fail "$page: mandoc"
done
for icon in "$root"/usr/share/icons/hicolor/*/apps/quillmoor.png; do
  size=$(basename "$(dirname "$(dirname "$icon")")")
  [ "$(identify -format '%wx%h %A' "$icon")" = "$size True" ] || fail "$icon: not $size with alpha"
done
lintian --fail-on error,warning "$deb" > "$scratch/lintian.log" 2>&1 || { cat "$scratch/lintian.log"; fail "lintian"; }

# A real install and removal, only on a throwaway machine.
if [ "${CI:-}" = true ] && [ "$(id -u)" -eq 0 ] && ! dpkg-query -W quillmoor > /dev/null 2>&1; then
  dpkg -i "$deb" > /dev/null || fail "dpkg -i"
  play_headless "$exec" "$scratch" || fail "the installed game"
  dpkg -r quillmoor > /dev/null || fail "dpkg -r"
  check_removed "$scratch/actual" /usr/share/games/quillmoor || fail "dpkg -r"
fi
echo "ok: $(wc -l < "$scratch/actual") files packed, installed, played and validated"
