# Helpers the end-to-end scripts share for talking to windows in a real X
# server. Each waits by polling with a deadline, never by sleeping and hoping:
# a loaded machine can take many seconds to map a window or hand it the focus.

# Waits (at most $2 seconds) for a visible window whose name matches $1; prints its id.
wait_window() {
  local deadline=$((SECONDS + $2)) id
  while [ $SECONDS -lt $deadline ]; do
    id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n1 || true)
    if [ -n "$id" ]; then echo "$id"; return 0; fi
    sleep 0.1
  done
  return 1
}

# Waits (at most $2 seconds) until window $1 has the keyboard focus: a key sent
# before that would go to whatever window had it.
wait_focus() {
  local deadline=$((SECONDS + $2))
  until [ "$(xdotool getwindowfocus 2>/dev/null || true)" = "$1" ]; do
    [ $SECONDS -lt $deadline ] || return 1
    sleep 0.1
  done
}

# Gives window $1 the focus (without a window manager nobody else will) and
# waits (at most $2 seconds) until it has it.
focus_window() {
  xdotool windowfocus --sync "$1" 2>/dev/null || true
  wait_focus "$1" "$2"
}

# Waits (at most $1 seconds) until the command in the other arguments succeeds.
wait_for() {
  local deadline=$((SECONDS + $1))
  shift
  until "$@"; do
    [ $SECONDS -lt $deadline ] || return 1
    sleep 0.1
  done
}
