#!/usr/bin/env bash
# End-to-end test of the desktop panel on a virtual X desktop: the panel is
# clicked like a user would click it, and what it types must arrive in a
# real X client (xterm writing its input to a file), which keeps the focus.
# Usage: e2e.sh BUILD_DIR
set -uo pipefail
BUILD=${1:-build}
ROOT="$(cd "$(dirname "$0")/../../.." && pwd)"
OUT="$ROOT/$BUILD/e2e-linux"
rm -rf "$OUT"
source "$ROOT/tests/e2e/linux/xsession.sh"
trap session_stop EXIT
expected=""

# Clicks at x y of the panel and checks that the terminal kept the focus.
click() {
  panel_click "$@"
  check "the terminal keeps the focus after a click at $1,$2" focus_is_target
}
pick() {
  grid_pick "$@"
  check "the terminal keeps the focus after picking grid item $1,$2" focus_is_target
}
# Waits for the file to hold what the clicks so far should have typed.
arrived() {
  local name=$1
  wait_for 5 test "$(received)" = "$expected"
  check "$name arrives as \"$expected\"" test "$(received)" = "$expected"
}

session_start || exit 1
tray_start || exit 1
# The panel's temporary-files folder is shared like /tmp. Another account
# plants a page at the name the handwriting page once had, one that would
# type a command (where root; else a named pipe stands there, which once
# stalled start-up). The panel never shows it nor opens it.
PANEL_TMP=$(mktemp -d /tmp/lumiko-e2e-tmp.XXXXXX)
chmod 1777 "$PANEL_TMP"
trap 'session_stop; rm -rf "$PANEL_TMP"' EXIT
PLANTER=lumiko-test
if [ "$(id -u)" = 0 ] && { id "$PLANTER" >/dev/null 2>&1 ||
    useradd --system --create-home --home-dir "/var/lib/$PLANTER" --shell /bin/bash "$PLANTER"; }; then
  runuser -u "$PLANTER" -- sh -c "umask 022; cat > '$PANEL_TMP/s1.html'" <<'PAGE'
<html><body><form id="f"><input name="wd" id="kw" value="PLANTED"></form>
<a href="javascript:void(0)" onclick="document.getElementById('kw').value='PLANTED'">手写输入</a></body></html>
PAGE
else
  echo "a page planted by another account: skipped (needs root); a named pipe stands there instead"
  mkfifo "$PANEL_TMP/s1.html"
fi
planted=$(stat -c '%U %s %F' "$PANEL_TMP/s1.html")
PANEL_ENV="TMPDIR=$PANEL_TMP"
panel_start || { cat "$OUT/lumiko.log"; exit 1; }
# The session's runtime folder (made by session_start) holds the page.
page_folder=$(find "$XDG_RUNTIME_DIR/lumiko" -mindepth 1 -maxdepth 1 -name 'page-*' -type d 2>/dev/null)
check "the page is written into a folder of its own, closed to others" \
  test "$(stat -c %a "$XDG_RUNTIME_DIR/lumiko" "$page_folder" "$page_folder/s1.html" 2>/dev/null | xargs)" = "700 700 600"

check "the panel is at 533,296 and 431x412" test "$PANEL_X $PANEL_Y $PANEL_W $PANEL_H" = "533 296 431 412"
check "the terminal has the focus with the panel shown" focus_is_target

# Dragged by its background, the panel follows the pointer.
panel_move 20 20
xdotool mousedown 1; sleep 0.1
xdotool mousemove $((PANEL_X + 45)) $((PANEL_Y + 35)); sleep 0.1
xdotool mousemove $((PANEL_X + 70)) $((PANEL_Y + 50)); sleep 0.1
xdotool mouseup 1; sleep 0.3
check "dragging the background moves the panel by 50,30" test "$(panel_geometry)" = "$((PANEL_X + 50)) $((PANEL_Y + 30)) 431 412"
check "the terminal keeps the focus after the drag" focus_is_target
xdotool mousedown 1; sleep 0.1
xdotool mousemove $((PANEL_X + 10)) $((PANEL_Y + 10)); sleep 0.1
xdotool mousemove $((PANEL_X + 20)) $((PANEL_Y + 20)); sleep 0.1
xdotool mouseup 1; sleep 0.3
check "and back" test "$(panel_geometry)" = "$PANEL_X $PANEL_Y 431 412"

# Stroke mode after start-up: the grid lists components. 土 starts a code,
# and 地 heads the characters built on it.
pick 1 1
pick 1 1
expected+="地"; arrived "a character through a component pick"

# The word-hint strip now offers words on 方; the first one.
click 20 88
expected+="方面"; arrived "a word from the word-hint strip"

# A plain stroke code: 一 丨, then the second candidate.
click 132 9                     # 笔画
click $((264 + 16)) $((33 + 18)) # 超级按钮1, 一
click $((296 + 16)) $((33 + 18)) # 超级按钮2, 丨
pick 1 2
expected+="可"; arrived "a character through a plain stroke code"

click 325 12                    # 按钮4: the Space key
expected+=" "; arrived "the Space key"

panel_move 48 25                # 按k1, clicked by the timing helper
latency=$(python3 "$ROOT/tests/e2e/linux/latency.py" "$TARGET_FILE")
sleep 0.1
check "the terminal keeps the focus after a click at 48,25" focus_is_target
expected+=","; arrived "the punctuation key ，"

# Another application takes the focus while the idle panel's timer rests:
# the next click types into it, and nothing into the first.
SECOND_FILE="$OUT/second.txt"
: >"$SECOND_FILE"
LC_ALL=C.UTF-8 xterm -u8 -geometry 40x5+20+400 -title lumiko-second \
  -e sh -c 'stty -icanon; exec cat > "$0"' "$SECOND_FILE" >"$OUT/xterm2.log" 2>&1 &
second_pid=$!
SESSION_PIDS+=($second_pid)
wait_for 20 xdotool search --onlyvisible --pid "$second_pid"
second_window=$(xdotool search --onlyvisible --pid "$second_pid" | head -1)
xdotool windowactivate --sync "$second_window" >/dev/null 2>&1
sleep 1
panel_click 48 25               # 按k1
wait_for 5 test "$(cat "$SECOND_FILE")" = ","
check "a click after a pause types into the application that took the focus" test "$(cat "$SECOND_FILE")" = ","
check "and nothing into the one that had it" test "$(received)" = "$expected"
kill "$second_pid" 2>/dev/null
wait_for 20 activate_target

click 238 43                    # 更多: the palette opens on 标点符号
click $((112 + 25 + 12)) $((108 + 12))   # row 0, column 1
expected+="。"; arrived "a palette symbol"

click 52 325                    # 日期
today=$(date +%Y-%-m-%-d)
click 150 $((108 + 9))          # the first date line
expected+="$today"; arrived "a date line"
click 52 356                    # 返回: the palette closes

# The handwriting pad: the user opens it with the link 手写输入, writes 王
# with mouse drags, and the first candidate is typed. The page, the engine
# and the pad's recogniser run in the page's own process (lumiko-page),
# which serves the pad itself: nothing listens on a socket.
page_process() { pgrep -P "$PANEL_PID" -x lumiko-page; }
engine() { pgrep -P "$(page_process || echo 0)" -f QtWebEngineProcess; }
check "no page process or browser engine before the page is first shown" \
  test -z "$(page_process)$(pgrep -f QtWebEngineProcess)"
click 56 9                      # 云手写输入
page_x() { echo $(( -1 + $1 )); }      # the browser view lies at -1,33 in the panel
page_y() { echo $(( 33 + $1 )); }
wait_for 30 engine
check "the page's process starts the browser engine when the page is first shown" test -n "$(engine)"
sleep 2
PANEL_WINDOW=$(panel_window_of "$PANEL_PID")
check "the panel keeps its place with the page" test "$(panel_geometry)" = "$PANEL_X $PANEL_Y $PANEL_W $PANEL_H"
check "the terminal keeps the focus when the page is first shown" focus_is_target
click "$(page_x 45)" "$(page_y 17)"     # the link 手写输入
sleep 0.5
# Strokes in the writing square, which starts at 7,41 of the page.
drag() {  # drag X1 Y1 X2 Y2 (square coordinates)
  local x1=$1 y1=$2 x2=$3 y2=$4 i
  panel_move "$(page_x $((7 + x1)))" "$(page_y $((41 + y1)))"
  xdotool mousedown 1; sleep 0.05
  for i in 1 2 3 4 5 6 7 8; do
    panel_move "$(page_x $((7 + x1 + (x2 - x1) * i / 8)))" "$(page_y $((41 + y1 + (y2 - y1) * i / 8)))"
  done
  xdotool mouseup 1; sleep 0.4
}
drag 60 60 176 60               # 王, in its stroke order
drag 72 118 164 118
drag 118 60 118 176
drag 50 176 186 176
check "the terminal keeps the focus while writing on the pad" focus_is_target
sleep 0.5
mkdir -p "$OUT"
screenshot_panel "$OUT/pad.png" && echo "screenshot of the pad: $OUT/pad.png"
click "$(page_x 26)" "$(page_y 305)"    # the first candidate
expected+="王"; arrived "a character written on the handwriting pad"
check "the pad refused nothing" bash -c "! grep -q 'request refused' '$OUT/lumiko.log'"
listening=$(ss -ltnpH 2>/dev/null |
  grep -E "pid=($PANEL_PID|$(pgrep -d'|' -P "$PANEL_PID" || echo x)|$(pgrep -d'|' -P "$(page_process || echo 0)" || echo x))," || true)
check "the panel listens on no socket" test -z "$listening"
click 132 9                     # 笔画: back to the keypad

# A while after the page closed, the page's process goes, and the engine with
# it; shown again, the page is made anew and takes writing as before.
page_gone() { [ -z "$(page_process)$(pgrep -f QtWebEngineProcess)" ]; }
wait_for 20 page_gone
check "the page's process and the engine end a while after the page closed" page_gone
check "the page's process ends on its own when told to" bash -c "! grep -q 'did not end when told to' '$OUT/lumiko.log'"
click 56 9                      # 云手写输入 again
sleep 3
PANEL_WINDOW=$(panel_window_of "$PANEL_PID")
click "$(page_x 45)" "$(page_y 17)"     # the link 手写输入
sleep 0.5
drag 60 60 176 60
drag 72 118 164 118
drag 118 60 118 176
drag 50 176 186 176
sleep 0.5
click "$(page_x 26)" "$(page_y 305)"
expected+="王"; arrived "a character written on the page made anew"
# The page's process ended from outside: the panel says so where the page
# was, and the next showing starts it again.
pkill -KILL -P "$PANEL_PID" -x lumiko-page
wait_for 10 grep -q "handwriting page cannot be shown" "$OUT/lumiko.log"
check "a page process that was killed is told" grep -q "handwriting page cannot be shown" "$OUT/lumiko.log"
click 132 9                     # 笔画
click 56 9                      # 云手写输入 again
wait_for 30 engine
check "the next showing starts the page's process again" test -n "$(engine)"
check "the panel outlives its page's process" kill -0 "$PANEL_PID"
click 132 9                     # 笔画

# 备用输入接口: the text goes through the clipboard and Ctrl+V.
menu() { click 20 20 3; sleep 0.3; xdotool key "$@"; sleep 0.3; }
menu Down Down Down Down Right Down Return
click $((40 + 16 * 2 + 8)) 25   # 按k3
expected+="、"; arrived "a punctuation key through the clipboard and Ctrl+V"
menu Down Down Down Down Right Down Return

# 繁体 from the panel's menu, then 国 (component 囗, first candidate).
click 20 20 3
sleep 0.3
xdotool key Down Down Return
sleep 0.2
check "the terminal keeps the focus after the menu" focus_is_target
click 132 9                     # 笔画
pick 4 1
pick 1 1
expected+="國"; arrived "国 with 繁体 checked"

# The panel's window: 按钮9 minimises it, the window manager restores it, and
# 按钮9 then minimises it again; 按钮10 hides it and the tray brings it back.
click 392 12                    # 按钮9
wait_for 5 panel_unshown
check "按钮9 minimises the panel" panel_unshown
xdotool windowmap "$PANEL_WINDOW"; timeout 5 xdotool windowactivate "$PANEL_WINDOW" >/dev/null 2>&1
wait_for 5 panel_shown
check "the window manager restores it" panel_shown
xdotool windowactivate --sync "$TARGET_WINDOW" >/dev/null 2>&1; wait_for 5 focus_is_target
click 392 12
wait_for 5 panel_unshown
check "按钮9 minimises it again after the window manager restored it" panel_unshown
xdotool windowmap "$PANEL_WINDOW"; timeout 5 xdotool windowactivate "$PANEL_WINDOW" >/dev/null 2>&1
wait_for 5 panel_shown
xdotool windowactivate --sync "$TARGET_WINDOW" >/dev/null 2>&1; wait_for 5 focus_is_target

tray=$(tray_icon_position)
check "the panel has an icon in the tray" test -n "$tray"
click 417 12                    # 按钮10
wait_for 5 panel_unshown
check "按钮10 hides the panel" panel_unshown
# A second start, hidden or not, shows the running panel and ends at once.
(cd "${PANEL_DIR:-$ROOT/data}" && exec env ${PANEL_ENV:-} timeout 30 "$LUMIKO" ${PANEL_ARGS:-}) >"$OUT/second.log" 2>&1
second=$?
check "a second start ends with status 0" test "$second" = 0
wait_for 5 panel_shown
check "and shows the running panel" panel_shown
check "the first panel still runs" kill -0 "$PANEL_PID"
click 417 12                    # 按钮10
wait_for 5 panel_unshown
tray_click() { xdotool mousemove $tray; sleep 0.3; xdotool click "$1"; sleep 0.3; }
if [ -n "$tray" ]; then
  tray_click 1
  wait_for 5 panel_shown
  check "a left click on the tray icon shows it again" panel_shown
  check "the terminal keeps the focus after the tray click" focus_is_target
  tray_click 1
  wait_for 5 panel_unshown
  check "a second left click hides it" panel_unshown
  tray_click 1
  wait_for 5 panel_shown
  # The tray's menu: 打开/关闭输入 hides the panel shown.
  tray_click 3
  xdotool key Down Down Down Return; sleep 0.3
  wait_for 5 panel_unshown
  check "打开/关闭输入 from the tray's menu hides the panel" panel_unshown
  tray_click 1
  wait_for 5 panel_shown
fi

# Hover over the grid for the screenshot.
panel_move $((GRID_X + 72)) $((GRID_Y + 20))
sleep 0.3
screenshot_panel "$OUT/panel.png" && echo "screenshot of the panel: $OUT/panel.png"
screenshot_screen "$OUT/screen.png" && echo "screenshot of the screen: $OUT/screen.png"
echo "received: $(received)"
echo "time from the click on ， to its arrival in the terminal's file: $latency ms"

check "the panel is still running" kill -0 "$PANEL_PID"

# 登录时启动, the last item of 帮助/其它 (Up from its first item wraps to
# it): the desktop entry appears in the user's autostart folder, naming the
# running program, and goes away.
autostart="${XDG_CONFIG_HOME:-$HOME/.config}/autostart/lumiko.desktop"
menu Down Down Down Down Right Up Return
wait_for 5 test -s "$autostart"
check "登录时启动 writes the user's autostart entry" test -s "$autostart"
check "its Exec names the running program" grep -qx "Exec=$(readlink -f "/proc/$PANEL_PID/exe")" "$autostart"
check "the terminal keeps the focus after the menu" focus_is_target
menu Down Down Down Down Right Up Return
wait_for 5 test ! -e "$autostart"
check "登录时启动 again removes it" test ! -e "$autostart"

# 退出 from the panel's menu ends the program.
click 20 20 3
sleep 0.3
xdotool key Up Return
wait_for 10 bash -c "! kill -0 $PANEL_PID 2>/dev/null"
check "退出 ends the program" bash -c "! kill -0 $PANEL_PID 2>/dev/null"
check "the planted page typed nothing" bash -c "! grep -q PLANTED '$TARGET_FILE'"
# (panel.lock, the one-panel lock, stays for the next start.)
check "the page's folder is removed at exit, the planted file left as it was" \
  test "$(find "$XDG_RUNTIME_DIR/lumiko" "$PANEL_TMP" -mindepth 1 ! -name panel.lock | wc -l) $(stat -c '%U %s %F' "$PANEL_TMP/s1.html")" = "1 $planted"
check_summary
