#!/usr/bin/env bash
# End-to-end test of typing into native Wayland programs on a wlroots
# compositor: headless sway (software rendering, no input devices) with
# XWayland, the panel on XWayland typing through its virtual keyboard, and
# as targets foot running `cat > FILE` and a GTK 4 text view. A virtual
# pointer clicks the panel; after every click the target must still have
# the focus (sway's tree), and what was typed must arrive exactly.
# With INSTALLED=1 the panel is the Debian package's, laid over /usr
# (common.sh).
# Usage: [INSTALLED=1] sway.sh BUILD_DIR
set -uo pipefail
HERE="$(cd "$(dirname "$0")" && pwd)"
source "$HERE/common.sh"

if [ "${1:-}" != --inner ]; then
  run_suite sway "${1:-build}"
  exit $?
fi

WORK=$2
cd "$WORK"
source "$WORK/mode.sh"
export XDG_RUNTIME_DIR="$WORK/runtime" TMPDIR="$WORK/tmp"
mkdir -p "$XDG_RUNTIME_DIR" "$TMPDIR"; chmod 700 "$XDG_RUNTIME_DIR"
trap session_stop EXIT

# The compositor: one 1024x768 output, XWayland started at once, the focus
# never following the pointer, swaybar at the top with its tray (it is the
# session's StatusNotifierItem watcher and host). The socket names are its
# own (in this run's runtime folder), the X display the first free one.
cat >"$WORK/sway.conf" <<'CONF'
output HEADLESS-1 resolution 1024x768 position 0 0
xwayland force
focus_follows_mouse no
default_border none
bar {
  position top
}
CONF
WLR_BACKENDS=headless WLR_LIBINPUT_NO_DEVICES=1 WLR_RENDERER=pixman WLR_HEADLESS_OUTPUTS=1 \
  sway -c "$WORK/sway.conf" >"$WORK/sway.log" 2>&1 &
SESSION_PIDS+=($!)
sway_ipc() { ls "$XDG_RUNTIME_DIR"/sway-ipc.*.sock 2>/dev/null | head -1; }
sway_ipc_ready() { test -n "$(sway_ipc)"; }
wait_for 30 sway_ipc_ready || { echo "sway did not start"; cat "$WORK/sway.log"; exit 1; }
export SWAYSOCK=$(sway_ipc)
wait_for 30 swaymsg -t get_version || { echo "sway does not answer"; cat "$WORK/sway.log"; exit 1; }
export WAYLAND_DISPLAY=$(cd "$XDG_RUNTIME_DIR" && ls wayland-* | grep -v lock | head -1)
# XWayland's display, as sway hands it to the programs it starts.
swaymsg exec "echo \$DISPLAY > $WORK/display.txt" >/dev/null
wait_for 30 test -s "$WORK/display.txt"
export DISPLAY=$(cat "$WORK/display.txt")
wait_for 30 xdpyinfo || { echo "XWayland did not start"; cat "$WORK/sway.log"; exit 1; }
echo "sway on $WAYLAND_DISPLAY, XWayland on $DISPLAY"

pointer_start "$WORK/bin/lumiko-test-pointer" 1024 768 || { echo "no virtual pointer"; cat "$WORK/pointer.log"; exit 1; }

# The focused window in sway's tree: its app_id (X programs: their class).
focused_app() {
  swaymsg -t get_tree | python3 -c '
import json, sys
def walk(n):
    if n.get("focused"):
        print(n.get("app_id") or (n.get("window_properties") or {}).get("class") or n.get("name"))
    for c in n.get("nodes", []) + n.get("floating_nodes", []):
        walk(c)
walk(json.load(sys.stdin))'
}
MENU_CLICK=1
TARGET_APP=
focus_is_target() { [ "$(focused_app)" = "$TARGET_APP" ]; }

# foot writes what it receives into a file; Ctrl+V pastes the clipboard.
FOOT_FILE="$WORK/foot.txt"; : >"$FOOT_FILE"
cat >"$WORK/foot.ini" <<'INI'
[key-bindings]
clipboard-paste=Control+v Control+Shift+v
INI
foot -c "$WORK/foot.ini" -a lumiko-foot sh -c 'stty -icanon; exec cat > "$0"' "$FOOT_FILE" >"$WORK/foot.log" 2>&1 &
SESSION_PIDS+=($!)
GTK_FILE="$WORK/gtk.txt"
GSK_RENDERER=cairo GDK_BACKEND=wayland python3 "$WORK/gtktarget.py" "$GTK_FILE" >"$WORK/gtk.log" 2>&1 &
SESSION_PIDS+=($!)
TARGET_APP=lumiko-foot
wait_for 30 bash -c "swaymsg -t get_tree | grep -q '\"app_id\": \"org.lumiko.Target\"'" || { echo "the GTK target did not start"; cat "$WORK/gtk.log"; exit 1; }
wait_for 30 bash -c "swaymsg -t get_tree | grep -q '\"app_id\": \"lumiko-foot\"'" || { echo "foot did not start"; cat "$WORK/foot.log"; exit 1; }

# Qt looks for a tray once, when the panel starts: the bar's comes first.
watcher_up() { gdbus call --session --dest org.freedesktop.DBus --object-path /org/freedesktop/DBus \
  --method org.freedesktop.DBus.NameHasOwner org.kde.StatusNotifierWatcher | grep -q true; }
wait_for 30 watcher_up || { echo "swaybar's tray did not start"; cat "$WORK/sway.log"; exit 1; }

PANEL_ENV="LUMIKO_TYPING="
panel_start || { cat "$WORK/lumiko.log"; exit 1; }
check "the panel types through the virtual keyboard" grep -q "typing through wayland" "$WORK/lumiko.log"
check "the panel is at 533,296 and 431x412" test "$PANEL_X $PANEL_Y $PANEL_W $PANEL_H" = "533 296 431 412"

# The panel's tray icon: a StatusNotifierItem that the panel's own bus
# connection registered with the watcher ("CONNECTION/PATH").
tray_item() {
  local item pid
  for item in $(gdbus call --session --dest org.kde.StatusNotifierWatcher --object-path /StatusNotifierWatcher \
      --method org.freedesktop.DBus.Properties.Get org.kde.StatusNotifierWatcher RegisteredStatusNotifierItems |
      grep -o "'[^']*'" | tr -d "'"); do
    pid=$(gdbus call --session --dest org.freedesktop.DBus --object-path /org/freedesktop/DBus \
      --method org.freedesktop.DBus.GetConnectionUnixProcessID "${item%%/*}" | sed 's/.* \([0-9]*\),.*/\1/')
    [ "$pid" = "$PANEL_PID" ] && echo "$item" && return 0
  done
  return 1
}
wait_for 10 tray_item
TRAY_ITEM=$(tray_item)
check "the tray icon registers with the bar's watcher" test -n "$TRAY_ITEM"
tray_tip() { gdbus call --session --dest "${TRAY_ITEM%%/*}" --object-path "/${TRAY_ITEM#*/}" \
  --method org.freedesktop.DBus.Properties.Get org.kde.StatusNotifierItem ToolTip; }
check "the tray icon's tooltip names the panel" grep -q "Lumiko输入法 1.0" <(tray_tip)

swaymsg '[app_id="lumiko-foot"] focus' >/dev/null
wait_for 5 focus_is_target
check "foot has the focus with the panel shown" focus_is_target
target_text() { cat "$FOOT_FILE"; }
expected=""
typing_run 0

swaymsg '[app_id="org.lumiko.Target"] focus' >/dev/null
TARGET_APP=org.lumiko.Target
wait_for 5 focus_is_target
check "the GTK text view has the focus" focus_is_target
target_text() { cat "$GTK_FILE" 2>/dev/null; }
expected=""
typing_run 1
page_run

panel_window_run

# The icon, alone at the right end of swaybar's tray: a left click (the
# bar's Activate) hides the panel and another shows it; a right click (the
# bar's ContextMenu) opens the panel's menu, where the X pointer was last
# seen (XWayland does not see it over the bar), and its first item
# (关闭菜单) closes it. The target keeps the focus.
menu_shown() {
  local w
  for w in $(xdotool search --onlyvisible --pid "$PANEL_PID"); do
    [ "$w" = "$PANEL_WINDOW" ] || window_geometry "$w"
  done | awk '$4 > 100 {print $1, $2; found = 1} END {exit !found}'
}
menu_gone() { ! menu_shown >/dev/null; }
pointer move 1012 11; sleep 0.3
pointer click
wait_for 5 panel_unshown
check "a click on the tray icon hides the panel" panel_unshown
pointer click
wait_for 5 panel_shown
check "another click shows it again" panel_shown
pointer rclick
wait_for 5 menu_shown
check "a right click on the tray icon opens the panel's menu" menu_shown
read -r menu_x menu_y < <(menu_shown)
pointer move $((menu_x + 30)) $((menu_y + 12)); sleep 0.3
pointer click
wait_for 5 menu_gone
check "关闭菜单 closes it" menu_gone
check "the target keeps the focus after the tray icon's clicks" focus_is_target

check "the panel is still running" kill -0 "$PANEL_PID"
echo "foot received: $(printf %q "$(cat "$FOOT_FILE")")"
echo "the GTK text view holds: $(printf %q "$(cat "$GTK_FILE" 2>/dev/null)")"
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
