#!/usr/bin/env bash
# Sound from the real binary in a real X server. With SDL's disk audio driver
# the game writes what it plays into a file: the player stands still while the
# white guard comes for them, so the file holds the wind, then steps louder
# than the wind can be. Without any sound device the game starts silently,
# says so in one line on standard error, and Esc still ends it with code 0.
# Usage: sound.sh BUILD_DIR   (the game folder is BUILD_DIR/game)
set -euo pipefail

build=$(cd "${1:?usage: sound.sh BUILD_DIR}" && pwd)
game="$build/game"
[ -x "$game/quillmoor" ] || { echo "sound.sh: no game at $game" >&2; exit 1; }
for tool in xvfb-run xdotool od awk; do
  command -v "$tool" >/dev/null || { echo "sound.sh: $tool is missing (scripts/setup installs it)" >&2; exit 1; }
done

if [ -z "${QUILL_E2E_INSIDE:-}" ]; then
  export QUILL_E2E_INSIDE=1
  exec xvfb-run -a -s "-screen 0 1280x1024x24" bash "$0" "$build"
fi

work=$(mktemp -d)
pid=""
cleanup() {
  if [ -n "$pid" ]; then kill "$pid" 2>/dev/null || true; wait "$pid" 2>/dev/null || true; fi
  rm -rf "$work"
}
trap cleanup EXIT

fail() {
  echo "FAIL: $*" >&2
  for f in "$work"/*.out "$work"/*.err; do [ -f "$f" ] && { echo "--- $f" >&2; cat "$f" >&2; }; done
  exit 1
}

source "$(dirname "$0")/lib/x11.sh"

# Waits (at most $1 seconds) for the game to end; its exit code is in $status.
wait_exit() {
  local deadline=$((SECONDS + $1))
  while kill -0 "$pid" 2>/dev/null; do
    [ $SECONDS -ge $deadline ] && return 1
    sleep 0.2
  done
  status=0
  wait "$pid" || status=$?
  pid=""
  return 0
}

# Starts the game with the environment given, takes the dialog's first mode.
start_game() {
  local name=$1; shift
  (cd "$game" && exec env "$@" ./quillmoor) >"$work/$name.out" 2>"$work/$name.err" &
  pid=$!
  local dialog
  dialog=$(wait_window '^Choose a video mode$' 60) || fail "$name: no mode dialog"
  wait_focus "$dialog" 30 || fail "$name: the dialog did not take the focus"
  xdotool key Return
  window=$(wait_window '^Quillmoor!!!$' 60) || fail "$name: no game window"
}

# Largest absolute sample of 16-bit little-endian audio, from byte $2 for $3 bytes.
peak() {
  od -An -v -t d2 -j "$2" -N "$3" "$1" | awk '{ for (i = 1; i <= NF; i++) { v = $i < 0 ? -$i : $i; if (v > m) m = v } } END { print m + 0 }'
}

# 1. The disk driver: stand still until the white guard has caught the player
#    (the game then ends by itself after its five-second pause).
raw="$work/audio.raw"
start_game disk SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$raw"
wait_exit 120 || fail "disk: the game did not end with the capture"
[ "$status" -eq 0 ] || fail "disk: exit code $status"
[ ! -s "$work/disk.out" ] || fail "disk: standard output is not empty"
size=$(stat -c %s "$raw")
second=$((44100 * 4))
[ "$size" -gt $((4 * second)) ] || fail "disk: only $size bytes of audio"
wind=$(peak "$raw" 0 "$second")
loudest=$(peak "$raw" 0 "$size")
echo "disk audio: $((size / second)) s, first second peaks at $wind (the wind), the whole at $loudest"
[ "$wind" -gt 100 ] || fail "disk: the first second is silent"
[ "$loudest" -gt $((3 * wind)) ] || fail "disk: nothing louder than the wind (no steps, no capture)"

# 2. No sound device at all: a driver that does not exist.
start_game nodevice SDL_AUDIODRIVER=no-such-driver
focus_window "$window" 30 || fail "nodevice: the game's window did not get the focus"
xdotool key --clearmodifiers Escape
wait_exit 30 || fail "nodevice: Esc did not end the game"
[ "$status" -eq 0 ] || fail "nodevice: exit code $status"
[ ! -s "$work/nodevice.out" ] || fail "nodevice: standard output is not empty"
lines=$(wc -l <"$work/nodevice.err")
[ "$lines" -eq 1 ] || fail "nodevice: $lines lines on standard error, expected the one about sound"
echo "no device: $(cat "$work/nodevice.err")"
echo "ok: sound written by the disk driver; silent start without a device"
