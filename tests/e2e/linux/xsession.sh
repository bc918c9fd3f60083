# A virtual X desktop for the panel: Xvfb at 1024x768, the openbox window
# manager, an xterm whose input goes to a file, and the panel itself.
# Sourced by the end-to-end test and by `make run` without a display.
#
# Needs: BUILD (the build folder), OUT (a folder for logs, files and
# screenshots). May set: LUMIKO (the program, default the build's),
# PANEL_DIR (its working folder, default data/ where it finds 词库), SCREEN
# (the screen's size, default 1024x768), PANEL_ARGS (the panel's arguments),
# PANEL_SCALE (screen pixels per 100 of the panel's form pixels: 100 unless
# the panel is zoomed). Sets: DISPLAY, TARGET_FILE, TARGET_WINDOW,
# PANEL_PID, PANEL_X, PANEL_Y. The panel's settings go to OUT, never to the
# user's own (a HOME inside OUT is kept as it is).

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../../.." && pwd)"
LUMIKO="${LUMIKO:-$ROOT/$BUILD/src/platform/qt/lumiko}"
SCREENSHOT="$ROOT/$BUILD/src/platform/qt/lumiko-screenshot"
source "$ROOT/tests/e2e/helpers.sh"

# What the terminal received so far.
received() { cat "$TARGET_FILE"; }

session_start() {
  mkdir -p "$OUT"
  export TMPDIR="$OUT/tmp" XDG_RUNTIME_DIR="$OUT/runtime"
  case "$HOME" in "$OUT"/*) ;; *) export XDG_CONFIG_HOME="$OUT/config" ;; esac
  mkdir -p "$TMPDIR" "$XDG_RUNTIME_DIR"
  chmod 700 "$XDG_RUNTIME_DIR"

  # A display number nobody uses, away from the low ones that desktops and
  # other tests take. -noreset: the server must not reset when the readiness
  # probe, its first client, disconnects, or the next client finds no server.
  local tries n xvfb_pid
  for tries in 1 2 3 4 5; do
    n=$((100 + RANDOM % 800))
    [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
    Xvfb ":$n" -screen 0 "${SCREEN:-1024x768}x24" -nolisten tcp -noreset >"$OUT/xvfb.log" 2>&1 &
    xvfb_pid=$!
    export DISPLAY=":$n"
    if wait_for 20 xdpyinfo && kill -0 "$xvfb_pid" 2>/dev/null; then break; fi
    kill "$xvfb_pid" 2>/dev/null; wait "$xvfb_pid" 2>/dev/null
    xvfb_pid=
  done
  [ -n "$xvfb_pid" ] || { echo "Xvfb did not start"; cat "$OUT/xvfb.log"; return 1; }
  SESSION_PIDS+=($xvfb_pid)

  openbox --sm-disable >"$OUT/openbox.log" 2>&1 &
  SESSION_PIDS+=($!)
  wait_for 60 wm_ready || { echo "openbox did not start"; cat "$OUT/openbox.log"; return 1; }

  # The target: every key the terminal receives goes straight into the file.
  TARGET_FILE="$OUT/received.txt"
  : >"$TARGET_FILE"
  # Ctrl+V pastes the CLIPBOARD selection, as in most applications.
  LC_ALL=C.UTF-8 xterm -u8 -geometry 80x14+20+20 -title lumiko-target \
    -xrm 'XTerm*VT100.translations: #override Ctrl<Key>v: insert-selection(CLIPBOARD)' \
    -e sh -c 'stty -icanon; exec cat > "$0"' "$TARGET_FILE" >"$OUT/xterm.log" 2>&1 &
  SESSION_PIDS+=($!)
  local xterm_pid=$!
  wait_for 20 xdotool search --onlyvisible --pid "$xterm_pid" || { echo "xterm did not start"; return 1; }
  TARGET_WINDOW=$(xdotool search --onlyvisible --pid "$xterm_pid" | head -1)
  wait_for 20 activate_target || { echo "the terminal did not get the focus"; return 1; }
}

activate_target() {
  timeout 2 xdotool windowactivate --sync "$TARGET_WINDOW" >/dev/null 2>&1
  focus_is_target
}

# The window manager has taken the screen: the root names its check window.
wm_ready() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id"; }

# A system tray at the bottom left of the screen, for the panel's icon.
tray_start() {
  trayer --edge bottom --align left --widthtype pixel --width 120 --height 24 \
    --transparent false --SetDockType true >"$OUT/trayer.log" 2>&1 &
  SESSION_PIDS+=($!)
  wait_for 20 xdotool search --onlyvisible --class trayer || { echo "trayer did not start"; return 1; }
}

# The middle of the panel's icon in the tray.
tray_icon_position() {
  local w
  for w in $(xdotool search --pid "$PANEL_PID"); do
    [ "$w" = "$PANEL_WINDOW" ] && continue
    xwininfo -id "$w" | awk '/Absolute upper-left X/{x=$4} /Absolute upper-left Y/{y=$4} /Width:/{wd=$2}
      /Height:/{h=$2} /Map State: IsViewable/{v=1} END{if (v && wd < 64 && wd > 4 && y > 700) print x + int(wd/2), y + int(h/2)}'
  done | head -1
}

panel_shown() { xwininfo -id "$PANEL_WINDOW" | grep -q "Map State: IsViewable"; }
panel_unshown() { ! panel_shown; }

focus_is_target() { [ "$(xdotool getwindowfocus 2>/dev/null)" = "$TARGET_WINDOW" ]; }

panel_start() {
  # From the data folder, where the panel finds 词库, unless told otherwise.
  (cd "${PANEL_DIR:-$ROOT/data}" && exec env ${PANEL_ENV:-} "$LUMIKO" ${PANEL_ARGS:-}) >"$OUT/lumiko.log" 2>&1 &
  PANEL_PID=$!
  SESSION_PIDS+=($PANEL_PID)
  wait_for 60 xdotool search --onlyvisible --pid "$PANEL_PID" || { echo "the panel did not appear"; return 1; }
  PANEL_WINDOW=$(panel_window_of "$PANEL_PID")
  read -r PANEL_X PANEL_Y PANEL_W PANEL_H < <(panel_geometry)
  sleep 1  # the first paint and the browser view's page
}

# x y width height of the panel's window on the screen.
panel_geometry() { window_geometry "$PANEL_WINDOW"; }

# Moves the pointer to x y of the panel's form (scaled to the screen's
# pixels when the panel is zoomed).
panel_move() {
  local scale=${PANEL_SCALE:-100}
  xdotool mousemove $((PANEL_X + $1 * scale / 100)) $((PANEL_Y + $2 * scale / 100)); sleep 0.05
}

# Clicks at x y of the panel (button $3, default left).
panel_click() {
  panel_move "$1" "$2"
  xdotool click "${3:-1}"
  sleep 0.15
}

# Item ROW COL (from 1) of the candidate grid, reached over its neighbour.
grid_pick() {
  local x y near
  read -r x y near < <(grid_cell "$1" "$2")
  panel_move "$near" "$y"
  panel_move "$x" "$y"
  panel_click "$x" "$y"
}

screenshot_panel() { "$SCREENSHOT" "$1" "$PANEL_X" "$PANEL_Y" "$PANEL_W" "$PANEL_H" 2>/dev/null; }
screenshot_screen() { "$SCREENSHOT" "$1" 2>/dev/null; }
