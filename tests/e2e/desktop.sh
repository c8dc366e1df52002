#!/usr/bin/env bash
# The game at the edges of the desktop:
# - with no display at all it says so in one line and ends with code 1 at once;
# - under a window manager (openbox on a 1024x768 Xvfb) the largest windowed
#   mode fits on the screen frame and all;
# - the window destroyed from outside ends the game with code 0, no X error;
# - SIGINT ends the dialog and the game without the quit question, by the signal;
#   SIGTERM and SIGHUP end it while the quit question is open;
# - Enter held down through the start-up does not choose in the dialog;
# - an exclusive full-screen mode chosen in the dialog starts shown, not minimized.
# Usage: desktop.sh BUILD_DIR   (the game folder is BUILD_DIR/game)
set -euo pipefail

build=$(cd "${1:?usage: desktop.sh BUILD_DIR}" && pwd)
game="$build/game"
[ -x "$game/quillmoor" ] || { echo "desktop.sh: no game at $game" >&2; exit 1; }
for tool in xvfb-run xdotool xwininfo xprop openbox; do
  command -v "$tool" >/dev/null || { echo "desktop.sh: $tool is missing (scripts/setup installs it)" >&2; exit 1; }
done

log=$(mktemp)
trap 'rm -f "$log"' EXIT
fail() {
  echo "FAIL: $*" >&2
  echo "--- game output ---" >&2
  cat "$log" >&2
  exit 1
}
# Standard error without the lines SDL's own libraries write (the Wayland
# client's complaint about XDG_RUNTIME_DIR) and the game's notice that a
# machine without a sound device plays silently.
own_lines() { grep -v -e 'XDG_RUNTIME_DIR' -e '^quillmoor: playing without sound' "$log" || true; }

if [ -z "${QUILL_E2E_INSIDE:-}" ]; then
  # No display: DISPLAY unset, then naming a display no server answers on.
  for display in none unreachable; do
    if [ "$display" = none ]; then
      env_args=(-u DISPLAY)
    else
      n=190
      while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
      env_args=(DISPLAY=":$n")
    fi
    start=$(date +%s%N)
    status=0
    (cd "$game" && exec env -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER "${env_args[@]}" timeout 10 ./quillmoor) \
      >/dev/null 2>"$log" || status=$?
    millis=$((($(date +%s%N) - start) / 1000000))
    [ "$status" -eq 1 ] || fail "no display ($display): exit code $status, not 1"
    [ "$millis" -lt 2000 ] || fail "no display ($display): took $millis ms"
    [ "$(own_lines | wc -l)" -eq 1 ] || fail "no display ($display): not one line on standard error"
    own_lines | grep -q 'no display to show the game on.*xvfb-run' || fail "no display ($display): no advice"
    echo "ok: no display ($display) says so and ends with code 1 in $millis ms"
  done
  export QUILL_E2E_INSIDE=1
  exec xvfb-run -a -s "-screen 0 1024x768x24" bash "$0" "$build"
fi

# ---- inside a 1024x768 X server, under openbox ----
openbox >/dev/null 2>&1 &
wm=$!
trap 'kill "$wm" 2>/dev/null || true; rm -f "$log"' EXIT
deadline=$((SECONDS + 60))
until xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; do
  [ $SECONDS -lt $deadline ] || fail "openbox did not start"
  sleep 0.1
done

dialog_title='^Choose a video mode$'
game_title='^Quillmoor!!!$'

source "$(dirname "$0")/lib/x11.sh"
# The quit question's box is open (xdotool's search by name does not see its title).
# The tree is read whole before it is searched: under pipefail, grep -q leaving
# at the first match would make xwininfo die of SIGPIPE and the pipe say "no".
question_open() {
  local tree
  tree=$(xwininfo -root -tree 2>/dev/null) || return 1
  [[ $tree == *'"Confirm Exit"'* ]]
}
# Waits (at most $2 seconds) for process $1 to end, meanwhile noting in $asked
# whether the quit question ever showed; its exit code lands in $status.
wait_exit() {
  local deadline=$((SECONDS + $2))
  asked=0
  while kill -0 "$1" 2>/dev/null; do
    question_open && asked=1
    if [ $SECONDS -ge $deadline ]; then kill -9 "$1" 2>/dev/null || true; wait "$1" || true; return 1; fi
    sleep 0.05
  done
  status=0
  wait "$1" || status=$?
}
# $1 names the case; the rest are the game's arguments.
start_game() {
  (cd "$game" && exec ./quillmoor "${@:2}") >/dev/null 2>"$log" &
  pid=$!
  dlg=$(wait_window "$dialog_title" 30) || fail "$1: the dialog did not appear (game running: $(kill -0 "$pid" 2>/dev/null && echo yes || echo no))"
  wait_focus "$dlg" 20 || fail "$1: the dialog did not get the focus"
}
# The last line of the list is the largest mode (1024x768 on this screen);
# "Start windowed" is checked at first.
start_largest_window() {
  start_game "$1"
  xdotool key End Return
  win=$(wait_window "$game_title" 60) || fail "$1: the game's window did not appear"
}

# Client area and frame inside the screen, once the window has its final size.
start_largest_window "largest window"
deadline=$((SECONDS + 20))
while :; do
  eval "$(xwininfo -id "$win" | awk -F: '
    /Absolute upper-left X/ {print "x=" $2+0} /Absolute upper-left Y/ {print "y=" $2+0}
    /Width/ {print "w=" $2+0} /Height/ {print "h=" $2+0}')"
  extents=$(xprop -id "$win" _NET_FRAME_EXTENTS 2>/dev/null | sed -n 's/.*= //p' | tr -d ' ')
  IFS=, read -r left right top bottom <<<"${extents:-0,0,0,0}"
  if [ "$top" -gt 0 ] && [ $((x - left)) -ge 0 ] && [ $((y - top)) -ge 0 ] &&
     [ $((x + w + right)) -le 1024 ] && [ $((y + h + bottom)) -le 768 ]; then
    break
  fi
  [ $SECONDS -lt $deadline ] ||
    fail "largest window: client ${w}x${h}+${x}+${y}, frame $left,$right,$top,$bottom leaves the 1024x768 screen"
  sleep 0.1
done
echo "ok: largest window ${w}x${h}+${x}+${y} with frame $left,$right,$top,$bottom lies inside the screen"

# Destroyed from outside: the end, as after the quit question's Yes.
xdotool windowclose "$win"
wait_exit "$pid" 30 || fail "windowclose: the game did not end"
[ "$status" -eq 0 ] || fail "windowclose: exit code $status"
[ -z "$(own_lines)" ] || fail "windowclose: standard error says more than the start-up notices"
echo "ok: the window destroyed from outside ends the game with code 0, no X error"

# SIGINT in the dialog and in the game: no question, the process ends by the signal.
start_game "SIGINT in the dialog"
kill -INT "$pid"
wait_exit "$pid" 30 || fail "SIGINT in the dialog: the program did not end"
[ "$status" -eq 130 ] || fail "SIGINT in the dialog: exit code $status, not 130"
echo "ok: SIGINT in the dialog ends the program"

start_largest_window "SIGINT in the game"
kill -INT "$pid"
wait_exit "$pid" 30 || fail "SIGINT in the game: the program did not end"
[ "$status" -eq 130 ] || fail "SIGINT in the game: exit code $status, not 130"
[ "$asked" -eq 0 ] || fail "SIGINT in the game: the quit question showed"
xdotool search --name "$game_title" >/dev/null 2>&1 && fail "SIGINT in the game: the window is still there"
echo "ok: SIGINT in the game ends it without the quit question"

# Enter held since before the start: the keyboard repeats it into the dialog
# (within the pause below), which waits for a press of its own.
xdotool keydown Return
start_game "Enter held"
sleep 1.5
xdotool search --onlyvisible --name "$game_title" >/dev/null 2>&1 && { xdotool keyup Return; fail "Enter held: the dialog chose at once"; }
xdotool keyup Return key Return
win=$(wait_window "$game_title" 60) && focus_window "$win" 20 || fail "Enter held: a new press did not start the game"
xdotool key Escape
wait_exit "$pid" 30 || fail "Enter held: Esc did not end the game"
echo "ok: Enter held through the start-up waits for a press of its own"

# SIGTERM and SIGHUP at the quit question (openbox's alt+F4 is the close
# button of the window it holds active): the game ends by the signal, and the
# question's box goes with it.
question_closed() { ! question_open; }
for signal in TERM HUP; do
  start_largest_window "SIG$signal at the quit question"
  xdotool windowactivate --sync "$win" && xdotool key alt+F4 && wait_for 30 question_open ||
    fail "SIG$signal: no quit question"
  kill -"$signal" "$pid"
  wait_exit "$pid" 30 || fail "SIG$signal at the quit question: the program did not end"
  [ "$status" -eq $((128 + $(kill -l "$signal"))) ] || fail "SIG$signal at the quit question: exit code $status"
  wait_for 30 question_closed || fail "SIG$signal: the quit question outlived the game"
  echo "ok: SIG$signal at the quit question ends the game and the question"
done

# Exclusive full screen (the screen's size, last once DirectDraw is off)
# chosen in the dialog is not minimized by the dialog's last focus loss. A
# second F12 answered proves passes ran with the focus; a request of ours to
# the window manager, answered after the game's, makes WM_STATE final.
shots=$(mktemp -d)
trap 'kill "$wm" 2>/dev/null || true; rm -rf "$log" "$shots"' EXIT
export QUILL_SCREENSHOT_DIR=$shots
saved() { [ "$(grep -c 'quillmoor: saved' "$log")" -ge "$1" ]; }
desktops_are() { [ "$(xdotool get_num_desktops)" -eq "$1" ]; }
for backend in -novbe -novbeaf; do
  what="exclusive full screen ($backend)"
  start_game "$what" -nodirectdraw "$backend" --setup --fullscreen
  xdotool key End Return
  win=$(wait_window "$game_title" 60) || fail "$what: the game's window did not appear"
  for shot in 1 2; do
    wait_focus "$win" 30 && xdotool key F12 && wait_for 30 saved "$shot" || fail "$what: F12 number $shot not answered"
  done
  desktops=$(xdotool get_num_desktops)
  xdotool set_num_desktops $((desktops + 1))
  wait_for 30 desktops_are $((desktops + 1)) || fail "$what: the window manager did not answer"
  xdotool set_num_desktops "$desktops"
  xprop -id "$win" WM_STATE | grep -q 'window state: Normal' || fail "$what: $(xprop -id "$win" WM_STATE)"
  xdotool key Escape
  wait_exit "$pid" 30 || fail "$what: Esc did not end the game"
  echo "ok: $what chosen in the dialog starts shown"
done
