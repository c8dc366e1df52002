#!/usr/bin/env bash
# Builds the Debian source package with dpkg-buildpackage in a copy of the tree
# and passes both packages through lintian; checks what each holds (the data
# package, architecture-independent, the game folder's data, and its message
# catalogues in /usr/share/locale), that the game depends on that very data,
# and that debian/ repeats the version and the
# owner's placeholders of the CMake build. With CI=true, as root and when
# neither is installed yet, also installs both, plays and removes them.
# The sanitizer tree skips it (exit 77): the package build uses nothing of it.
set -eu
build=$(cd "$1" && pwd)
src=$(cd "$(dirname "$0")/../.." && pwd)
fail() { echo "debian: $*"; exit 1; }
source "$(dirname "$0")/lib/packages.sh"
grep -q '^QUILL_SANITIZE:BOOL=ON' "$build/CMakeCache.txt" && { echo "skipped in the sanitizer tree"; exit 77; }

# A fixed place, so that ccache sees the same paths the next time; the packages
# and logs stay there, the copy of the tree goes.
out="$build/debian-package"
tree="$out/quillmoor"
installed=
trap 'rm -rf "$tree"; [ -z "$installed" ] || dpkg -r quillmoor quillmoor-data > /dev/null 2>&1' EXIT
rm -rf "$out"
mkdir -p "$tree"
git -C "$src" ls-files -z --cached --others --exclude-standard |
  (cd "$src" && tar --null --ignore-failed-read -cf - -T - 2> /dev/null) | tar -C "$tree" -xf -
[ -x "$tree/debian/rules" ] || fail "could not copy the tree: it must be a git checkout"
if command -v ccache > /dev/null; then
  # debhelper gives the build a HOME of its own; the cache stays where it is.
  export CMAKE_C_COMPILER_LAUNCHER=ccache CMAKE_CXX_COMPILER_LAUNCHER=ccache
  export CCACHE_DIR=${CCACHE_DIR:-$(ccache -k cache_dir)}
fi
(cd "$tree" && DEB_BUILD_OPTIONS=${DEB_BUILD_OPTIONS:-parallel=2} dpkg-buildpackage -us -uc -b) > "$out/build.log" 2>&1 ||
  { tail -40 "$out/build.log"; fail "dpkg-buildpackage failed (whole log: $out/build.log)"; }

version=$(dpkg-parsechangelog -l "$tree/debian/changelog" -S Version)
game="$out/quillmoor_${version}_$(dpkg --print-architecture).deb"
data="$out/quillmoor-data_${version}_all.deb"
lintian --fail-on error,warning "$game" "$data" > "$out/lintian.log" 2>&1 || { cat "$out/lintian.log"; fail "lintian"; }
[ "$(dpkg-deb -f "$data" Architecture)" = all ] || fail "quillmoor-data is not Architecture: all"
dpkg-deb -f "$game" Depends | grep -q "quillmoor-data (= $version)" || fail "quillmoor does not depend on quillmoor-data (= $version)"

# Each package holds its own files, its copyright, changelog and lintian overrides.
built="$tree/obj-$(dpkg-architecture -q DEB_HOST_GNU_TYPE)"
app=$(sed -n 's/^QUILL_APP_ID:STRING=//p' "$built/CMakeCache.txt")
docs() { for f in "doc/$1/copyright" "doc/$1/changelog.gz" "lintian/overrides/$1"; do echo "./usr/share/$f"; done; }
{ game_files "$app"; docs quillmoor; } | sort > "$out/game.expected"
{
  (cd "$built/game" && find . -path ./locale -prune -o -type f ! -name .stamp ! -name quillmoor -print |
    sed 's|^\.|./usr/share/games/quillmoor|')
  (cd "$built/game" && find locale -type f | sed 's|^|./usr/share/|')
  docs quillmoor-data
} |
  sort > "$out/data.expected"
for package in game data; do
  deb_files "${!package}" | sort > "$out/$package.packed"
  diff "$out/$package.expected" "$out/$package.packed" || fail "the $package package's files differ (- expected, + packed)"
done
grep -q '/bilder/.*\.16B$' "$out/data.packed" && grep -q '/sounds/.*\.wav$' "$out/data.packed" || fail "no pictures or no sounds"
grep -qx './usr/share/locale/en/LC_MESSAGES/quillmoor.mo' "$out/data.packed" || fail "no English texts"

# debian/ and the CMake build name the same release and the same placeholders.
cached() { sed -n "s/^$1:[A-Z]*=//p" "$built/CMakeCache.txt"; }
same() { [ "$2" = "$3" ] || fail "$1: debian/ has '$2', the CMake build '$3'"; }
changelog() { dpkg-parsechangelog -l "$tree/debian/changelog" -S "$1"; }
same version "$version" "$(cached CMAKE_PROJECT_VERSION)"
same "release date" "$(date -u -d "$(changelog Date)" +%F)" \
  "$(sed -n "s/.*<release version=\"$version\" date=\"\([0-9-]*\)\".*/\1/p" "$built/dist/$app.metainfo.xml")"
same maintainer "$(dpkg-deb -f "$game" Maintainer)" "$(cached QUILL_MAINTAINER)"
same "changelog's maintainer" "$(changelog Maintainer)" "$(cached QUILL_MAINTAINER)"
same "home page" "$(dpkg-deb -f "$game" Homepage)" "$(cached QUILL_HOMEPAGE)"
same licence "$(sed -n '/^Files: \*$/,/^$/s/^License: //p' "$tree/debian/copyright")" "$(cached QUILL_PROJECT_LICENSE)"

# A real install and removal, only on a throwaway machine.
if [ "${CI:-}" = true ] && [ "$(id -u)" -eq 0 ] && ! dpkg-query -W quillmoor > /dev/null 2>&1 &&
  ! dpkg-query -W quillmoor-data > /dev/null 2>&1; then
  installed=1
  dpkg -i "$game" "$data" > /dev/null || fail "dpkg -i"
  [ "$(/usr/games/quillmoor --version)" = "quillmoor $version" ] || fail "installed game: --version"
  play_headless /usr/games/quillmoor "$out" || fail "the installed game"
  dpkg -r quillmoor quillmoor-data > /dev/null || fail "dpkg -r"
  installed=
  cat "$out/game.packed" "$out/data.packed" > "$out/all.packed"
  check_removed "$out/all.packed" /usr/share/games/quillmoor /usr/libexec/quillmoor || fail "dpkg -r"
fi
echo "ok: quillmoor and quillmoor-data built, lintian clean, $(wc -l < "$out/data.packed") data files in place"
