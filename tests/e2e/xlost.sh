#!/usr/bin/env bash
# The X connection lost under a running game: the X server ends, or
# `xdotool windowkill` closes the game's connection. In the mode dialog, in a
# window and in full screen alike the game ends at once with code 1 and one
# line on standard error, instead of hanging on the dead connection.
# Usage: xlost.sh BUILD_DIR   (the game folder is BUILD_DIR/game)
set -euo pipefail

build=$(cd "${1:?usage: xlost.sh BUILD_DIR}" && pwd)
game="$build/game"
[ -x "$game/quillmoor" ] || { echo "xlost.sh: no game at $game" >&2; exit 1; }
for tool in Xvfb xdotool; do
  command -v "$tool" >/dev/null || { echo "xlost.sh: $tool is missing (scripts/setup installs it)" >&2; exit 1; }
done
source "$(dirname "$0")/lib/x11.sh"

work=$(mktemp -d)
server="" pid=""
cleanup() {
  for p in $pid $server; do kill -9 "$p" 2>/dev/null || true; wait "$p" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT
fail() {
  echo "FAIL: $*" >&2
  echo "--- game output ---" >&2
  cat "$work/err" >&2
  exit 1
}

# Each case has an X server of its own, since one of the ways is to end it.
# -displayfd names a free display once the server accepts connections.
start_server() {
  rm -f "$work/display"
  Xvfb -displayfd 3 -screen 0 1024x768x24 3>"$work/display" >/dev/null 2>&1 &
  server=$!
  local deadline=$((SECONDS + 30))
  until [ -s "$work/display" ]; do
    [ $SECONDS -lt $deadline ] || fail "Xvfb did not start"
    sleep 0.1
  done
  export DISPLAY=":$(cat "$work/display")"
}

# $1: where the game stands (dialog, window, fullscreen); $2: how the
# connection goes (windowkill, server).
lose_connection() {
  local where=$1 how=$2 args=(-nosound) title='^Quillmoor!!!$'
  case $where in
    dialog) title='^Choose a video mode$' ;;
    window) args+=(--window --mode 640x480) ;;
    fullscreen) args+=(--fullscreen --mode 640x480) ;;
  esac
  start_server
  # A settings file of its own: a mode remembered by one case would skip the next one's dialog.
  (cd "$game" && XDG_CONFIG_HOME="$work/config-$where-$how" exec ./quillmoor "${args[@]}") >/dev/null 2>"$work/err" &
  pid=$!
  local id
  id=$(wait_window "$title" 60) || fail "$where: no window"
  local start
  start=$(date +%s%N)
  if [ "$how" = windowkill ]; then xdotool windowkill "$id"; else kill "$server"; fi
  # A bound far beyond the fraction of a second it takes, for a loaded machine:
  # a game that hangs on the dead connection never ends.
  local deadline=$((SECONDS + 20))
  while kill -0 "$pid" 2>/dev/null; do
    [ $SECONDS -lt $deadline ] || fail "$where, $how: the game did not end"
    sleep 0.05
  done
  local millis=$((($(date +%s%N) - start) / 1000000)) status=0
  wait "$pid" || status=$?
  pid=""
  [ "$status" -eq 1 ] || fail "$where, $how: exit code $status, not 1"
  local lines
  lines=$(grep -v 'XDG_RUNTIME_DIR' "$work/err" || true)
  [ "$(printf '%s\n' "$lines" | wc -l)" -eq 1 ] && grep -q 'lost the connection to the X display' <<<"$lines" ||
    fail "$where, $how: not the one line about the lost connection"
  kill -9 "$server" 2>/dev/null || true
  wait "$server" 2>/dev/null || true
  server=""
  echo "ok: $where, $how: code 1 and one line after $millis ms"
}

for where in dialog window fullscreen; do
  for how in windowkill server; do lose_connection "$where" "$how"; done
done
echo "6 passed, 0 failed"
