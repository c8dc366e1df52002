#!/usr/bin/env bash
# The X connection lost under a running game: the X server ends, or
# `xdotool windowkill` closes the game's connection. In the mode dialog, in a
# window and in full screen alike the game ends at once with code 1 and one
# line on standard error, instead of hanging on the dead connection.
# Usage: xlost.sh BUILD_DIR   (the game folder is BUILD_DIR/game)
set -euo pipefail
game=$(cd "${1:?usage: xlost.sh BUILD_DIR}" && pwd)/game
source "$(dirname "$0")/lib/x11.sh"
work=$(mktemp -d)
server="" pid=""
trap 'kill -9 $pid $server 2>/dev/null || true; rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; cat "$work/err" >&2; exit 1; }
ended() { ! kill -0 "$1" 2>/dev/null; }

# $1: where the game stands; $2: how the connection goes. Each case has its
# own X server; -displayfd names a free display once it accepts connections.
lose_connection() {
  local args=(-nosound) title='^Quillmoor!!!$' id start millis status=0
  case $1 in
    dialog) title='^Choose a video mode$' ;;
    window) args+=(--window --mode 640x480) ;;
    fullscreen) args+=(--fullscreen --mode 640x480) ;;
  esac
  rm -f "$work/display"
  Xvfb -displayfd 3 -screen 0 1024x768x24 3>"$work/display" >/dev/null 2>&1 &
  server=$!
  wait_for 30 test -s "$work/display" || fail "Xvfb did not start"
  export DISPLAY=":$(cat "$work/display")"
  # A settings file of its own: a mode remembered by one case would skip the next one's dialog.
  (cd "$game" && XDG_CONFIG_HOME="$work/config-$1-$2" exec ./quillmoor "${args[@]}") >/dev/null 2>"$work/err" &
  pid=$!
  id=$(wait_window "$title" 60) || fail "$1: no window"
  start=$(date +%s%N)
  if [ "$2" = windowkill ]; then xdotool windowkill "$id"; else kill "$server"; fi
  # Far beyond the fraction of a second it takes: a hanging game never ends.
  wait_for 20 ended "$pid" || fail "$1, $2: the game did not end"
  millis=$((($(date +%s%N) - start) / 1000000))
  wait "$pid" || status=$?
  pid=""
  [ "$status" -eq 1 ] || fail "$1, $2: exit code $status, not 1"
  [ "$(grep -vc 'XDG_RUNTIME_DIR' "$work/err")" -eq 1 ] && grep -q 'lost the connection to the X display' "$work/err" ||
    fail "$1, $2: not the one line about the lost connection"
  kill -9 "$server" 2>/dev/null || true
  wait "$server" 2>/dev/null || true
  server=""
  echo "ok: $1, $2: code 1 and one line after $millis ms"
}

for where in dialog window fullscreen; do
  for how in windowkill server; do lose_connection "$where" "$how"; done
done
echo "6 passed, 0 failed"
