#!/usr/bin/env bash
# The Windows panel's memory under Wine: the resident size of the processes
# running lumiko.exe in this Wine prefix (its working set as Linux sees it)
# SETTLE seconds after its window appeared, then again SETTLE seconds after the
# handwriting page (云手写输入) was shown. Run with the Wine environment of
# the Windows makefile (WINEPREFIX set: other prefixes are left alone).
# Usage: wine-working-set.sh LUMIKO_DIR
set -uo pipefail
APP=$1
SETTLE=${SETTLE:-8}
[ -n "${WINEPREFIX:-}" ] || { echo "WINEPREFIX is not set"; exit 1; }
[ -f "$APP/lumiko.exe" ] || { echo "no lumiko.exe in $APP: make windows first"; exit 1; }
n=$((100 + RANDOM % 800))
while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((100 + RANDOM % 800)); done
Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp -noreset >/dev/null 2>&1 &
xvfb=$!
export DISPLAY=":$n"
panel= wm=
trap 'kill $panel $wm $xvfb 2>/dev/null; wineserver -k 2>/dev/null' EXIT
sleep 2
openbox --sm-disable >/dev/null 2>&1 &
wm=$!
(cd "$APP" && exec wine lumiko.exe) >/dev/null 2>&1 &
panel=$!
# The processes of lumiko.exe whose environment names this prefix.
ours() {
  local p
  for p in $(pgrep -f 'lumiko\.exe'); do
    tr '\0' '\n' <"/proc/$p/environ" 2>/dev/null | grep -qxF "WINEPREFIX=$WINEPREFIX" && echo "$p"
  done
}
rss() {
  local p sum=0 v
  for p in $(ours); do
    v=$(awk '/^VmRSS:/{print $2}' "/proc/$p/status" 2>/dev/null)
    sum=$((sum + ${v:-0}))
  done
  echo "$sum"
}
# The panel's window (its title), once Wine has started it.
w=
for _ in $(seq 120); do
  w=$(xdotool search --onlyvisible --name "双击返回" 2>/dev/null | head -1)
  [ -n "$w" ] && break
  sleep 0.5
done
sleep "$SETTLE"
before=$(rss)
if [ -n "$w" ]; then
  eval "$(xdotool getwindowgeometry --shell "$w")"
  xdotool mousemove $((X + 56)) $((Y + 9)) click 1
else
  echo "warning: the panel's window was not found; the page was not shown"
fi
sleep "$SETTLE"
after=$(rss)
echo "lumiko.exe under Wine (load $(cut -d' ' -f1 /proc/loadavg)): ${before} kB resident after ${SETTLE} s;" \
  "${after} kB ${SETTLE} s after the handwriting page was shown"
