# Shell helpers of the desktop panel's end-to-end tests, on X11 and on
# Wayland: the processes of a session, waiting for a condition, and the
# panel's X window.

SESSION_PIDS=()

session_stop() {
  local pid
  for pid in "${SESSION_PIDS[@]}"; do kill "$pid" 2>/dev/null || true; done
  for pid in "${SESSION_PIDS[@]}"; do wait "$pid" 2>/dev/null || true; done
  SESSION_PIDS=()
}

# Waits up to $1 seconds for the command after it to succeed.
wait_for() {
  local limit=$1; shift
  local end=$((SECONDS + limit))
  until "$@" >/dev/null 2>&1; do
    [ $SECONDS -lt $end ] || return 1
    sleep 0.1
  done
}

# The panel among the visible X windows of process $1: the largest one (not
# its tray icon).
panel_window_of() {
  local w
  for w in $(xdotool search --onlyvisible --pid "$1"); do
    xwininfo -id "$w" | awk -v w="$w" '/Width:/{a=$2} /Height:/{b=$2} END{print a * b, w}'
  done | sort -n | tail -1 | cut -d' ' -f2
}

# x y width height of an X window on the screen.
window_geometry() {
  xwininfo -id "$1" | awk '/Absolute upper-left X/{x=$4} /Absolute upper-left Y/{y=$4}
    /Width:/{w=$2} /Height:/{h=$2} END{print x, y, w, h}'
}
