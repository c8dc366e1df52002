#!/usr/bin/env bash
# Pictures shown and passes run by the real game under Xvfb, drawing pictures
# between the passes (smooth) and one picture a pass (classic): a 640x480
# window, 640x480 full screen on a 1920x1080 screen, and a 1600x1200 window.
# The player turns all the time. For each: passes a second, pictures a second,
# the spread of the intervals between pictures (standard deviation and
# worst), and how long after a key press leaves the input queue the first
# picture showing it comes (ten presses of the turn key after the turning),
# from the game's own log of what it did (QUILL_PICTURE_LOG). The time a press
# waits in the queue for the next pass, 0 to 40 ms, comes on top in both.
# The white guard reaches a player who stays put after about 12 s, and the
# ending's pause holds the passes: the figures end before it.
#   bench/pictures.sh [seconds of turning per run, default 6]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-6}
game=$PWD/build/game
[ -x "$game/quillmoor" ] || { echo "build the game first: scripts/build release" >&2; exit 1; }
work=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null || true; rm -rf "$work"' EXIT

start_x() {  # display number, screen size
  Xvfb ":$1" -screen 0 "$2x24" -nolisten tcp >/dev/null 2>&1 &
  for _ in $(seq 50); do xdpyinfo -display ":$1" >/dev/null 2>&1 && return; sleep 0.1; done
  echo "Xvfb :$1 did not start" >&2
  exit 1
}
start_x 93 1920x1080
start_x 94 2048x1536

run() {  # name, display, picture mode (smooth|classic), game options...
  local name=$1 display=$2 mode=$3
  shift 3
  local log=$work/$name-$mode.log extra=()
  [ "$mode" = classic ] && extra=(--classic)
  (cd "$game" && DISPLAY=":$display" XDG_CONFIG_HOME="$work/cfg" XDG_DATA_HOME="$work/data" \
    QUILL_PICTURE_LOG="$log" timeout "$((seconds + 12))" ./quillmoor -nosound "${extra[@]}" "$@" \
    >/dev/null 2>&1) &
  local pid=$!
  sleep 2
  DISPLAY=":$display" xdotool key 1 keydown Left >/dev/null 2>&1 || true  # help off, turn
  sleep "$seconds"
  DISPLAY=":$display" xdotool keyup Left >/dev/null 2>&1 || true
  for _ in $(seq 10); do
    sleep 0.2
    DISPLAY=":$display" xdotool keydown Left sleep 0.1 keyup Left >/dev/null 2>&1 || true
  done
  DISPLAY=":$display" xdotool key Escape >/dev/null 2>&1 || true
  wait "$pid" || true
  python3 - "$log" "$name" "$mode" <<'EOF'
import statistics, sys
path, name, mode = sys.argv[1:]
rows = [line.split() for line in open(path)]
# Leave out the first second (the start) and everything from half a second
# before the first long gap between passes on (a capture's pause, the end).
starts = [int(t) for k, t in rows if k == "pass"]
end = next((a for a, b in zip(starts, starts[1:]) if b - a > 1_000_000), starts[-1])
t0 = int(rows[0][1]) + 1_000_000
t1 = end - 500_000
passes = [int(t) for k, t in rows if k == "pass" and t0 <= int(t) <= t1]
pictures = [int(t) for k, t in rows if k == "picture" and t0 <= int(t) <= t1]
span = (t1 - t0) / 1e6
gaps = [(b - a) / 1000 for a, b in zip(pictures, pictures[1:])]
shown = [int(t) for k, t in rows if k == "picture"]
keys = [int(t) for k, t in rows if k == "key"][1:]  # the first press turns the help off
delays = [(min(p for p in shown if p >= k) - k) / 1000 for k in keys if any(p >= k for p in shown)]
print(f"{name:30} {mode:7} passes/s {len(passes) / span:5.2f}  pictures/s {len(pictures) / span:5.2f}"
      f"  interval ms: sd {statistics.pstdev(gaps):5.2f} worst {max(gaps):6.2f}"
      f"  key to picture ms: mean {statistics.mean(delays):5.2f} worst {max(delays):5.2f}")
EOF
}

for mode in smooth classic; do
  run "640x480 window" 93 "$mode" --window --mode 640x480
  run "640x480 full screen 1920x1080" 93 "$mode" --fullscreen --mode 640x480
  run "1600x1200 window" 94 "$mode" --window --mode 1600x1200
done
