#!/usr/bin/env bash
# End-to-end test of the zoomed panel on virtual X desktops: at 2048x1536
# with Qt's scale factor 2, and at 1024x768 with --zoom 150. In each, the
# panel must lie whole on the screen at its scaled size, and a character
# typed through strokes and a grid pick must arrive in the terminal. At 150 %
# the menu's 缩放 then chooses 200 %: the panel grows, stays on the screen,
# and starts at 200 % the next time.
# Usage: zoom.sh BUILD_DIR
set -uo pipefail
BUILD=${1:-build}
ROOT="$(cd "$(dirname "$0")/../../.." && pwd)"
source "$ROOT/tests/e2e/linux/xsession.sh"
trap session_stop EXIT
arrived() {  # arrived NAME EXPECTED
  wait_for 5 test "$(received)" = "$2"
  check "$1 arrives as \"$2\"" test "$(received)" = "$2"
}
# The panel's window lies whole on a screen of $1 x $2 pixels.
on_screen() {
  local x y w h
  read -r x y w h < <(panel_geometry)
  [ "$x" -ge 0 ] && [ "$y" -ge 0 ] && [ $((x + w)) -le "$1" ] && [ $((y + h)) -le "$2" ]
}
# Strokes 一 丨, then the second candidate: 可.
type_by_strokes() {
  panel_click 132 9                         # 笔画
  panel_click $((264 + 16)) $((33 + 18))    # 超级按钮1, 一
  panel_click $((296 + 16)) $((33 + 18))    # 超级按钮2, 丨
  grid_pick 1 2
}
# A session on a screen of SCREEN; $1 names it, the rest is the expected
# "x y width height" of the panel.
session() {
  OUT="$ROOT/$BUILD/e2e-linux-zoom/$1"
  rm -rf "$OUT"
  session_start || return 1
  panel_start || { cat "$OUT/lumiko.log"; return 1; }
  local w=${SCREEN%x*} h=${SCREEN#*x}
  check "$1: the panel is at ${*:2}" test "$PANEL_X $PANEL_Y $PANEL_W $PANEL_H" = "${*:2}"
  check "$1: the panel lies whole on the ${w}x${h} screen" on_screen "$w" "$h"
  type_by_strokes
  arrived "$1: a character through strokes and a grid pick" "可"
  check "$1: the terminal keeps the focus" focus_is_target
}

# Qt's own scale: the 1024x768 layout of the desktop drawn at twice the size.
SCREEN=2048x1536 PANEL_ENV="QT_SCALE_FACTOR=2" PANEL_SCALE=200 \
  session qt-scale-2 $((2 * 533)) $((2 * 296)) 862 824 || exit 1
session_stop

# The panel's own zoom, 647x618 placed 60 pixels off the corner.
SCREEN=1024x768 PANEL_ARGS="--zoom 150" PANEL_SCALE=150
session zoom-150 317 90 647 618 || exit 1
screenshot_panel "$OUT/panel.png" && echo "screenshot of the panel at 150 %: $OUT/panel.png"

# 缩放 → 200%, the last item of 帮助/其它: the panel grows to 862x824, too
# tall for the screen, and moves left and up as far as it must: its right
# edge on the screen's, its top on the screen's top. The choice is stored.
panel_click 20 20 3; sleep 0.3
xdotool key Down Down Down Down Right Down Down Down Down Down Right Down Down Down Return; sleep 0.5
wait_for 5 test "$(panel_geometry | cut -d' ' -f3-)" = "862 824"
check "缩放 200% resizes the panel to 862x824" test "$(panel_geometry | cut -d' ' -f3-)" = "862 824"
check "the grown panel moves to 162,0 to stay on the screen" test "$(panel_geometry)" = "162 0 862 824"
check "the choice is stored" test "$(cat "$OUT/config/lumiko/zoom" 2>/dev/null)" = "200"
check "the terminal keeps the focus after the menu" focus_is_target
read -r PANEL_X PANEL_Y PANEL_W PANEL_H < <(panel_geometry)
PANEL_SCALE=200
type_by_strokes
arrived "at 200 %: a character through strokes and a grid pick" "可可"
panel_move $((GRID_X + 72)) $((GRID_Y + 20)); sleep 0.3
screenshot_panel "$OUT/panel-200.png" && echo "screenshot of the panel at 200 %: $OUT/panel-200.png"

# The next start, without --zoom, takes the stored 200 %: as near the corner
# as the screen allows.
kill "$PANEL_PID"; wait "$PANEL_PID" 2>/dev/null
PANEL_ARGS=""
panel_start || { cat "$OUT/lumiko.log"; exit 1; }
check "the next start is at 200 %, near the corner and on the screen" \
  test "$PANEL_X $PANEL_Y $PANEL_W $PANEL_H" = "$((1024 - 862 - 60)) 0 862 824"

check_summary
