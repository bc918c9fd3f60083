#!/usr/bin/env bash
# End-to-end test of typing into native Wayland programs on KDE Plasma:
# headless KWin 5.27 with XWayland, Lumiko's input method chosen as the
# user chooses it (System Settings writes the entry's path into kwinrc), so
# that KWin starts the package's launcher, which starts IBus with the
# Lumiko engine and becomes IBus's Wayland front-end; the panel from the
# package as installed (laid over /usr, common.sh) hands its text to the
# engine; KWrite is the target. KWin's fake input clicks the panel and
# saves KWrite's text (Ctrl+S); a KWin script tells the active window, which
# must stay KWrite after every click, and what was typed must arrive exactly.
# Usage: kde.sh BUILD_DIR (as root: the package is laid over /usr)
set -uo pipefail
HERE="$(cd "$(dirname "$0")" && pwd)"
source "$HERE/common.sh"

case "${1:-}" in
--inner) ;;
--session) ;;
*)
  INSTALLED=1 run_suite kde "${1:-build}"
  exit $?
  ;;
esac

WORK=$2
cd "$WORK"
source "$WORK/mode.sh"
export HOME="$WORK/home" XDG_RUNTIME_DIR="$WORK/runtime" TMPDIR="$WORK/tmp" \
  XDG_CONFIG_HOME="$WORK/config" XDG_DATA_HOME="$WORK/share" XDG_CACHE_HOME="$WORK/cache"

if [ "$1" = --inner ]; then
  [ "$INSTALLED" = 1 ] || { echo "the KDE test needs the package laid over /usr (run it as root)"; exit 1; }
  mkdir -p "$HOME" "$XDG_RUNTIME_DIR" "$TMPDIR" "$XDG_CONFIG_HOME" "$XDG_DATA_HOME/applications" "$XDG_CACHE_HOME"
  chmod 700 "$XDG_RUNTIME_DIR"
  # The one setting: System Settings → Keyboard → Virtual Keyboard →
  # Lumiko输入法 writes this.
  cat >"$XDG_CONFIG_HOME/kwinrc" <<'INI'
[Wayland]
InputMethod[$e]=/usr/share/applications/org.lumiko.Lumiko.KWinInput.desktop
INI
  # KWrite keeps what it is given: no blanks stripped, no line break added
  # when it saves.
  cat >"$XDG_CONFIG_HOME/kwriterc" <<'INI'
[KTextEditor Document]
Remove Spaces=0
Newline at End of File=false
INI
  # KWin grants its fake input to the program whose desktop entry asks.
  cat >"$XDG_DATA_HOME/applications/lumiko-test-fakeinput.desktop" <<DESKTOP
[Desktop Entry]
Type=Application
Name=Lumiko test input
Exec=$WORK/bin/lumiko-test-fakeinput
NoDisplay=true
X-KDE-Wayland-Interfaces=org_kde_kwin_fake_input
DESKTOP
  kbuildsycoca5 >"$WORK/kbuildsycoca.log" 2>&1
  # /usr/bin/kwin_wayland carries the file capability cap_sys_resource, which
  # a container may refuse; a copy has none.
  cp /usr/bin/kwin_wayland "$WORK/bin/kwin_wayland"
  printf '#!/bin/sh\nexec bash "%s/kde.sh" --session "%s"\n' "$WORK" "$WORK" >"$WORK/session.sh"
  chmod +x "$WORK/session.sh"
  export XDG_CURRENT_DESKTOP=KDE XDG_SESSION_TYPE=wayland KDE_FULL_SESSION=true QT_LOGGING_RULES="kwin_scripting.debug=true"
  echo 1 >"$WORK/session.rc"
  "$WORK/bin/kwin_wayland" --virtual --xwayland --width 1024 --height 768 --socket lumiko-kwin \
    --exit-with-session "$WORK/session.sh" >"$WORK/kwin.log" 2>&1
  echo "KWin ended with status $?"
  cat "$WORK/session.out" 2>/dev/null
  exit "$(cat "$WORK/session.rc")"
fi

# --- Inside KWin's session: WAYLAND_DISPLAY and DISPLAY are KWin's. --------
exec >"$WORK/session.out" 2>&1
trap session_stop EXIT
echo "KWin on $WAYLAND_DISPLAY, XWayland on ${DISPLAY:-none}"
wait_for 30 xdpyinfo || { echo "XWayland did not start"; exit 1; }

# KWin started the launcher: IBus runs with the Lumiko engine selected and
# its Wayland front-end is the input method.
front_end_runs() { pgrep -u "$(id -u)" -f /usr/libexec/ibus-wayland >/dev/null; }
wait_for 30 front_end_runs
check "KWin started the launcher, which became IBus's Wayland front-end" front_end_runs
check "IBus runs with the Lumiko engine selected" sh -c 'ibus engine | grep -qx lumiko'

# The active window, as a KWin script loaded over D-Bus prints it.
n=0
active_window() {
  n=$((n + 1))
  local script="$WORK/active$n.js" id
  echo 'print("lumiko-active:" + (workspace.activeClient ? workspace.activeClient.resourceClass : "none") + ":'$n'");' >"$script"
  id=$(gdbus call --session --dest org.kde.KWin --object-path /Scripting --method org.kde.kwin.Scripting.loadScript "$script" "lumiko$n" |
    sed -n 's/^(\([0-9]*\),)$/\1/p')
  [ -n "$id" ] || return 1
  gdbus call --session --dest org.kde.KWin --object-path /Scripting --method org.kde.kwin.Scripting.start >/dev/null
  sleep 0.1
  gdbus call --session --dest org.kde.KWin --object-path /Scripting --method org.kde.kwin.Scripting.unloadScript "lumiko$n" >/dev/null
  sed -n "s/.*lumiko-active:\(.*\):$n\$/\1/p" "$WORK/kwin.log" | tail -1
}
focus_is_target() { [ "$(active_window)" = org.kde.kwrite ]; }

TARGET_FILE="$WORK/kwrite.txt"
: >"$TARGET_FILE"
QT_QPA_PLATFORM=wayland kwrite "$TARGET_FILE" >"$WORK/kwrite.log" 2>&1 &
SESSION_PIDS+=($!)
wait_for 30 focus_is_target || { echo "KWrite did not get the focus: $(active_window)"; cat "$WORK/kwrite.log"; exit 1; }
pointer_start "$WORK/bin/lumiko-test-fakeinput" || { echo "no fake input"; cat "$WORK/pointer.log"; exit 1; }

# KWrite's text, saved with Ctrl+S (Linux key codes 29, 31).
target_text() {
  pointer keydown 29; pointer key 31; pointer keyup 29
  sleep 0.3
  cat "$TARGET_FILE"
}
# The user's keys pass through the engine unchanged: a b Enter.
for key in 30 48 28; do pointer key "$key"; done
expected=$'ab\n'; arrived "keystrokes typed on the keyboard"

panel_start || { cat "$WORK/lumiko.log"; exit 1; }
check "the panel types through the input source" grep -q "typing through ibus" "$WORK/lumiko.log"
check "no advice box (kwinrc names Lumiko's input method)" test -z "$(xdotool search --onlyvisible --name '^Lumiko输入法 1.0$' 2>/dev/null)"
check "KWrite has the focus with the panel shown" focus_is_target
typing_run 1
page_run

check "the panel is still running" kill -0 "$PANEL_PID"
# What the IBus road costs beside the panel (resident memory, KiB).
echo "the IBus road's processes: $(ps -u "$(id -u)" -o rss=,comm= | grep -E 'ibus|lumiko-ibus' | awk '{printf "%s %s KiB, ", $2, $1; t += $1} END {printf "in all %d KiB", t}')"
echo "KWrite's file holds: $(printf %q "$(cat "$TARGET_FILE")")"
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ] && echo 0 >"$WORK/session.rc"
