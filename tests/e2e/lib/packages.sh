# Helpers the package tests share: what the game's package holds, a short
# headless game of the installed command, and the check that removal leaves
# nothing behind.

# The game's own files in a package, one "./usr/..." path a line, for app id $1:
# the command, binary, tools, menu entry, AppStream data, manual pages, icons.
game_files() {
  printf '%s\n' ./usr/games/quillmoor ./usr/libexec/quillmoor/quillmoor \
    ./usr/bin/quillmoor-img16 ./usr/bin/quillmoor-levelcheck \
    "./usr/share/applications/$1.desktop" "./usr/share/metainfo/$1.metainfo.xml" \
    ./usr/share/man/man6/quillmoor.6.gz ./usr/share/man/man1/quillmoor-img16.1.gz \
    ./usr/share/man/man1/quillmoor-levelcheck.1.gz
  for size in 16 32 48 64 128 256; do echo "./usr/share/icons/hicolor/${size}x$size/apps/quillmoor.png"; done
}

# The files (not folders) a .deb holds, one "./usr/..." path a line.
deb_files() { dpkg-deb -c "$1" | awk '$1 !~ /^d/ {print $6}'; }

# Plays a few passes headless with command $1 started in a new folder under $2
# (the mode dialog's answer, a step, F12, Esc), its sound going to a file.
# Fails unless the game ends well, and the screenshot and the sound file, both
# named relative to where it was started, are there.
play_headless() {
  local play out code=0
  play=$(cd "$(mktemp -d "$2/play.XXXX")" && pwd)
  printf 'key 50 50; chars 13\n\n\nkeys 48\n\nkey 58\nchars 27\n' > "$play.replay"
  out=$(cd "$play" && env -u QUILL_SCREENSHOT_DIR QUILL_DISPLAY=headless QUILL_INPUT="../${play##*/}.replay" \
    SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=sound.raw "$1" 2>"$play.err") || code=$?
  [ "$code" -eq 0 ] || { cat "$play.err"; echo "$1: exit code $code"; return 1; }
  [ -z "$out" ] || { echo "$1: unexpected output: $out"; return 1; }
  [ -f "$play/quillmoor-001.png" ] || { cat "$play.err"; echo "$1: no screenshot where it was started"; return 1; }
  [ -f "$play/sound.raw" ] || { cat "$play.err"; echo "$1: no sound file where it was started"; return 1; }
}

# Fails when any path of list file $1 ("./usr/...") or folder $2... is still there.
check_removed() {
  local list=$1 f
  shift
  while read -r f; do [ ! -e "${f#.}" ] || { echo "left behind after removal: ${f#.}"; return 1; }; done < "$list"
  for f in "$@"; do [ ! -e "$f" ] || { echo "left behind after removal: $f"; return 1; }; done
}
