#!/usr/bin/env bash
# End-to-end test of typing into native Wayland programs on GNOME: headless
# GNOME Shell with XWayland and IBus, "Lumiko" as the current input source,
# the panel on XWayland handing its text to the input source's engine, and
# a GTK 4 text view as the target. Mutter's remote-desktop devices click the
# panel; after every click the text view must still have the focus (the
# shell's introspection interface), and what was typed must arrive exactly.
# The input source is added in GNOME's settings and chosen with the
# shell's switch; with INSTALLED=1 the panel, the component file and the
# engine are the Debian package's, laid over /usr (common.sh).
# Usage: [INSTALLED=1] gnome.sh BUILD_DIR
set -uo pipefail
HERE="$(cd "$(dirname "$0")" && pwd)"
source "$HERE/common.sh"

if [ "${1:-}" != --inner ]; then
  # Without logind, GNOME Shell fails on the seats that systemd's folder
  # names: a mount namespace of this run hides it.
  hide_seats=()
  if [ "$(id -u)" -eq 0 ] && [ -d /run/systemd/seats ] && [ ! -e /run/systemd/seats/seat0 ]; then
    hide_seats=(unshare --mount --propagation private -- sh -c 'mount -t tmpfs none /run/systemd/seats && exec "$@"' sh)
  fi
  run_suite gnome "${1:-build}" "${hide_seats[@]}"
  exit $?
fi

WORK=$2
cd "$WORK"
source "$WORK/mode.sh"
if [ "$INSTALLED" = 1 ]; then
  # The session finds the input source where the package put it.
  COMPONENT=/usr/share/ibus/component/lumiko.xml
  ENGINE=$(sed -n 's|.*<exec>\([^ <]*\).*|\1|p' "$COMPONENT" 2>/dev/null)
  [ -x "$ENGINE" ] || { echo "the installed component names no program that runs: '$ENGINE'"; ls -l "$ENGINE"; exit 1; }
  echo "the installed engine: $(ls -l "$ENGINE")"
else
  [ -e "$WORK/component/lumiko.xml" ] || { echo "the IBus engine is not built"; exit 1; }
fi
export HOME="$WORK/home" XDG_RUNTIME_DIR="$WORK/runtime" TMPDIR="$WORK/tmp" XDG_CONFIG_HOME="$WORK/config"
mkdir -p "$HOME" "$XDG_RUNTIME_DIR" "$TMPDIR" "$XDG_CONFIG_HOME/glib-2.0/settings"; chmod 700 "$XDG_RUNTIME_DIR"
trap session_stop EXIT

# A system bus of this run's own: the shell asks it for services that are
# not there, and must not find the machine's.
cat >"$WORK/system-bus.conf" <<CONF
<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>system</type>
  <listen>unix:path=$WORK/system-bus</listen>
  <auth>EXTERNAL</auth>
  <policy context="default">
    <allow user="*"/><allow own="*"/><allow send_destination="*"/><allow receive_sender="*"/>
  </policy>
</busconfig>
CONF
dbus-daemon --config-file="$WORK/system-bus.conf" --nofork >"$WORK/system-bus.log" 2>&1 &
SESSION_PIDS+=($!)
export DBUS_SYSTEM_BUS_ADDRESS="unix:path=$WORK/system-bus"
wait_for 10 test -S "$WORK/system-bus"

# Settings in a file: a new user's US keyboard as the only input source
# (Lumiko is added and chosen below, as the user does it); no animations.
export GSETTINGS_BACKEND=keyfile
cat >"$XDG_CONFIG_HOME/glib-2.0/settings/keyfile" <<'INI'
[org/gnome/desktop/input-sources]
sources=[('xkb', 'us')]

[org/gnome/desktop/interface]
enable-animations=false

[org/gnome/shell]
welcome-dialog-last-shown-version='999'
INI

export XDG_CURRENT_DESKTOP=GNOME XDG_SESSION_TYPE=wayland
# The build tree's engine is found through its own component folder; the
# installed one as the session finds it, with no IBUS_COMPONENT_PATH.
[ "$INSTALLED" = 1 ] || export IBUS_COMPONENT_PATH="/usr/share/ibus/component:$WORK/component"
gnome-shell --headless --wayland --virtual-monitor 1024x768 --wayland-display=lumiko-wayland \
  >"$WORK/gnome-shell.log" 2>&1 &
SESSION_PIDS+=($!)
shell_up() { gdbus call --session --dest org.gnome.Shell --object-path /org/gnome/Shell \
  --method org.freedesktop.DBus.Properties.Get org.gnome.Shell ShellVersion; }
wait_for 60 shell_up || { echo "GNOME Shell did not start"; tail -30 "$WORK/gnome-shell.log"; exit 1; }
export WAYLAND_DISPLAY=lumiko-wayland
# The overview that opens once the shell has started would take the
# pointer's clicks and the new window's focus.
wait_for 60 grep -q "GNOME Shell started" "$WORK/gnome-shell.log"
overview_off() {
  gdbus call --session --dest org.gnome.Shell --object-path /org/gnome/Shell \
    --method org.freedesktop.DBus.Properties.Set org.gnome.Shell OverviewActive '<false>' >/dev/null
  gdbus call --session --dest org.gnome.Shell --object-path /org/gnome/Shell \
    --method org.freedesktop.DBus.Properties.Get org.gnome.Shell OverviewActive | grep -q false
}
wait_for 20 overview_off

# XWayland's display and its key, as mutter gives them to its programs.
x_display() { sed -n 's/.*Using public X11 display \(:[0-9]*\).*/\1/p' "$WORK/gnome-shell.log" | head -1; }
x_display_known() { test -n "$(x_display)"; }
wait_for 30 x_display_known
export DISPLAY=$(x_display) XAUTHORITY=$(ls "$XDG_RUNTIME_DIR"/.mutter-Xwaylandauth.* 2>/dev/null | head -1)
wait_for 30 xdpyinfo || { echo "XWayland did not start"; tail -30 "$WORK/gnome-shell.log"; exit 1; }
echo "GNOME Shell on $WAYLAND_DISPLAY, XWayland on $DISPLAY"

GTK_FILE="$WORK/gtk.txt"
GSK_RENDERER=cairo GDK_BACKEND=wayland python3 "$WORK/gtktarget.py" "$GTK_FILE" >"$WORK/gtk.log" 2>&1 &
SESSION_PIDS+=($!)
pointer_start python3 "$WORK/gnome_input.py" || { echo "no remote-desktop input"; cat "$WORK/pointer.log"; exit 1; }
TARGET_APP=org.lumiko.Target
focus_is_target() { [ "$(pointer_query focus)" = "$TARGET_APP" ]; }

# A window that maps while the overview is still closing is not given the
# focus: a click into it (maximised) gives it.
target_mapped() { local windows; windows=$(pointer_query windows); [[ $windows == *"$TARGET_APP"* ]]; }
wait_for 30 target_mapped
wait_for 20 overview_off
if ! wait_for 5 focus_is_target; then
  pointer move 200 300; pointer click
fi
wait_for 30 focus_is_target || { echo "the GTK target did not get the focus: $(pointer_query windows)"; cat "$WORK/gtk.log"; exit 1; }

# Lumiko added to the input sources as GNOME Settings writes it (Keyboard
# → Input Sources → + → Chinese → Lumiko), then chosen with the shell's own
# switch, Super+Space.
gsettings set org.gnome.desktop.input-sources sources "[('xkb', 'us'), ('ibus', 'lumiko')]"
check "GNOME's settings list Lumiko" sh -c "gsettings get org.gnome.desktop.input-sources sources | grep -q lumiko"
sleep 1
pointer keydown ffeb; sleep 0.2; pointer key 20; sleep 0.2; pointer keyup ffeb

# The input source's engine, started by IBus for the shell, owns its name.
engine_focused() { gdbus call --session --dest org.lumiko.Engine --object-path /org/lumiko/Engine \
  --method org.freedesktop.DBus.Properties.Get org.lumiko.Engine Focused | grep -q true; }
wait_for 30 engine_focused
lumiko_current() { gsettings get org.gnome.desktop.input-sources mru-sources | grep -qF "[('ibus', 'lumiko')"; }
check "Super+Space made Lumiko the current input source" lumiko_current
[ "$INSTALLED" = 1 ] && check "IBus started the installed engine ($ENGINE)" pgrep -u "$(id -u)" -f "^$ENGINE"
check "the Lumiko input source has the text view's focus" engine_focused

target_text() { cat "$GTK_FILE" 2>/dev/null; }

# The user's own keystrokes with Lumiko as the current input source: the
# engine takes none of them, and the text view handles each as usual.
# Remote-desktop keys reach the text view only once it has the seat's
# keyboard, which Shift shows (in its key log) without typing anything.
shift_seen() { pointer key ffe1; sleep 0.2; grep -qx Shift_L "$GTK_FILE.keys"; }
wait_for 20 shift_seen
# By X keysym: a b Left c Right BackSpace Return, Shift held over d (as long
# as a hand holds it: the shell tells the application a modifier's state
# when it changes, but the keys only once IBus has seen them); by Linux key
# code: 18 (e).
for key in 61 62 ff51 63 ff53 ff08 ff0d; do pointer key "$key"; done
pointer keydown ffe1; sleep 0.3; pointer key 64; sleep 0.3; pointer keyup ffe1
pointer keycode 18
expected=$'ac\nDe'; arrived "keystrokes typed on the keyboard"

PANEL_ENV="LUMIKO_TYPING="
panel_start || { cat "$WORK/lumiko.log"; exit 1; }
check "the panel types through the input source" grep -q "typing through ibus" "$WORK/lumiko.log"
check "the panel is at 533,296 and 431x412" test "$PANEL_X $PANEL_Y $PANEL_W $PANEL_H" = "533 296 431 412"
check "the text view has the focus with the panel shown" focus_is_target

: >"$GTK_FILE.keys"
typing_run 1
# Space, Backspace and Enter reached the text view as keys, in that order
# (not as text the input method committed); Ctrl+V is the clipboard's text
# committed (ibus.h).
editing_keys() { grep -x -e space -e BackSpace -e Return -e ctrl+v -e v "$GTK_FILE.keys" | tr '\n' ' '; }
check "the editing keys arrive as key presses: $(editing_keys)" \
  test "$(editing_keys)" = "space BackSpace Return "
page_run
panel_window_run

# GNOME shows no tray icon (no StatusNotifierItem watcher, no X11 tray), so
# × (按钮10) cannot hide the panel for good: it leaves the strip.
click 417 12
wait_for 5 strip_shown
check "× without a tray turns the panel into its strip" strip_shown
check "the panel itself is hidden" panel_unshown
strip_restore

check "the panel is still running" kill -0 "$PANEL_PID"
echo "the GTK text view holds: $(printf %q "$(cat "$GTK_FILE" 2>/dev/null)")"
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
