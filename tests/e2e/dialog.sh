#!/usr/bin/env bash
# The mode dialog in a real X server, driven as a player would: Enter starts
# the game (its window appears, Esc ends it, exit code 0); a double click on a
# mode line starts it too; Esc in the dialog ends the program at once, exit
# code 0, without the game's window ever appearing.
# Usage: dialog.sh BUILD_DIR   (the game folder is BUILD_DIR/game)
set -euo pipefail

build=$(cd "${1:?usage: dialog.sh BUILD_DIR}" && pwd)
game="$build/game"
[ -x "$game/quillmoor" ] || { echo "dialog.sh: no game at $game" >&2; exit 1; }
for tool in xvfb-run xdotool; do
  command -v "$tool" >/dev/null || { echo "dialog.sh: $tool is missing (scripts/setup installs it)" >&2; exit 1; }
done

if [ -z "${QUILL_E2E_INSIDE:-}" ]; then
  export QUILL_E2E_INSIDE=1
  exec xvfb-run -a -s "-screen 0 1280x1024x24" bash "$0" "$build"
fi

dialog_title='^Choose a video mode$'
game_title='^Quillmoor!!!$'
source "$(dirname "$0")/lib/x11.sh"
log=$(mktemp)
trap 'rm -f "$log"' EXIT

# Waits (at most $2 seconds) for process $1 to end; its exit code is in $status.
wait_exit() {
  local deadline=$((SECONDS + $2))
  while kill -0 "$1" 2>/dev/null; do
    if [ $SECONDS -ge $deadline ]; then kill "$1" 2>/dev/null || true; wait "$1" || true; return 1; fi
    sleep 0.1
  done
  status=0
  wait "$1" || status=$?
  return 0
}

fail() {
  echo "FAIL: $*" >&2
  echo "--- game output ---" >&2
  cat "$log" >&2
  exit 1
}

# Starts the game in its folder, waits for the dialog, runs "$@" on it, then
# expects the game's window; Esc ends the game.
run_to_game() {
  local what=$1; shift
  (cd "$game" && exec ./quillmoor) >"$log" 2>&1 &
  local pid=$!
  local dlg
  dlg=$(wait_window "$dialog_title" 60) || fail "$what: the dialog did not appear"
  wait_focus "$dlg" 30 || fail "$what: the dialog did not take the focus"
  "$@" "$dlg"
  local win
  win=$(wait_window "$game_title" 60) || fail "$what: the game's window did not appear"
  xdotool search --onlyvisible --name "$dialog_title" >/dev/null 2>&1 && fail "$what: the dialog is still open"
  focus_window "$win" 30 || fail "$what: the game's window did not get the focus"
  xdotool key --clearmodifiers Escape
  wait_exit "$pid" 30 || fail "$what: the game did not end after Esc"
  [ "$status" -eq 0 ] || fail "$what: exit code $status"
  echo "ok: $what"
}

# Keyboard alone: no focusing by hand, the dialog takes the focus itself.
press_enter() { xdotool key Return; }
run_to_game "Enter starts the game" press_enter

# Mouse alone: a double click on the first mode line. The dialog's size gives
# its base units: 257 dialog units high plus a 3-pixel frame on each side;
# the list starts 47 units down, inside a 2-pixel border.
double_click_line() {
  local id=$1 w h
  eval "$(xdotool getwindowgeometry --shell "$id")"
  w=$WIDTH; h=$HEIGHT
  local base_y=$(( (h - 6) * 8 / 257 ))
  local y=$(( 3 + 47 * base_y / 8 + 2 + base_y / 2 ))
  local x=$(( w / 3 ))
  xdotool mousemove --window "$id" "$x" "$y" click --repeat 2 --delay 80 1
}
run_to_game "a double click starts the game" double_click_line

# Esc in the dialog: the program ends without opening the game's window.
(cd "$game" && exec ./quillmoor) >"$log" 2>&1 &
pid=$!
dlg=$(wait_window "$dialog_title" 60) || fail "Esc: the dialog did not appear"
wait_focus "$dlg" 30 || fail "Esc: the dialog did not take the focus"
xdotool key Escape
seen=0
deadline=$((SECONDS + 15))
while kill -0 "$pid" 2>/dev/null && [ $SECONDS -lt $deadline ]; do
  xdotool search --onlyvisible --name "$game_title" >/dev/null 2>&1 && seen=1
  sleep 0.05
done
wait_exit "$pid" 1 || fail "Esc: the program did not end"
[ "$status" -eq 0 ] || fail "Esc: exit code $status"
[ "$seen" -eq 0 ] || fail "Esc: the game's window appeared"
echo "ok: Esc in the dialog ends the program"
echo "3 passed, 0 failed"
