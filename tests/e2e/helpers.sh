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

# The tally of a test's checks: `check NAME CONDITION...` runs the condition
# and reports it; check_summary tells the tally and fails when a check did.
# A script that sources these helpers twice keeps its tally.
passed=${passed:-0} failed=${failed:-0}
check() {  # check NAME CONDITION...
  local name=$1; shift
  if "$@"; then passed=$((passed + 1)); echo "ok: $name"
  else failed=$((failed + 1)); echo "FAILED: $name"; fi
}
check_summary() {
  echo "$passed passed, $failed failed"
  [ "$failed" -eq 0 ]
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

# The candidate grid's place in the panel, and item ROW COL (from 1) of
# single characters in it: prints the item's X and Y and the X of its
# neighbour in the row, which the pointer passes over first, as a hand moving
# to the item would, so that the highlight follows it there.
GRID_X=7 GRID_Y=113
grid_cell() {
  local row=$1 col=$2 ys=(0 20 93 155 215)
  local other=$(( col < 8 ? col + 1 : col - 1 ))
  echo "$((GRID_X + col * 48 - 24)) $((GRID_Y + ${ys[$row]})) $((GRID_X + other * 48 - 24))"
}

# x y width height of an X window on the screen.
window_geometry() {
  xwininfo -id "$1" | awk '/Absolute upper-left X/{x=$4} /Absolute upper-left Y/{y=$4}
    /Width:/{w=$2} /Height:/{h=$2} END{print x, y, w, h}'
}
