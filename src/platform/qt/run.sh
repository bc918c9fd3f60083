#!/usr/bin/env bash
# `make run`: starts the panel on the current X display, from the data folder
# where it finds 词库. Without a display it starts a virtual one with a window
# manager and a terminal, clicks a short demo on the panel, shows what the
# terminal received and writes a screenshot of the panel.
set -uo pipefail
BUILD=${1:-build}
ROOT="$(cd "$(dirname "$0")/../../.." && pwd)"

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  # Laid out as installed: the program with 词库 and pinyin.txt beside it,
  # so that the dictionary chosen in 字典设置 (stored beside the program) is
  # the one read at the next start. The tables come fresh from data/ each
  # time; the stored choice stays.
  RUN="$ROOT/$BUILD/run"
  mkdir -p "$RUN"
  choice="$RUN/词库/字典.txt"
  saved=""
  [ -f "$choice" ] && saved=$(cat "$choice"; printf x)
  rm -rf "$RUN/词库"
  cp -r "$ROOT/data/词库" "$ROOT/data/pinyin.txt" "$RUN/"
  [ -n "$saved" ] && printf '%s' "${saved%x}" >"$choice"
  for f in lumiko lumiko-page; do
    ln -f "$ROOT/$BUILD/src/platform/qt/$f" "$RUN/$f" 2>/dev/null || cp -f "$ROOT/$BUILD/src/platform/qt/$f" "$RUN/$f"
  done
  echo "Starting the panel on $DISPLAY from $RUN (tray icon \"Lumiko输入法 1.0\"; 退出 in its menu ends it)."
  cd "$RUN" && exec ./lumiko
fi

echo "No X display: running a short demo on a virtual one (Xvfb, openbox, xterm)."
OUT="$ROOT/$BUILD/demo"
rm -rf "$OUT"
source "$ROOT/tests/e2e/linux/xsession.sh"
trap session_stop EXIT
session_start || exit 1
panel_start || { cat "$OUT/lumiko.log"; exit 1; }
echo "The panel is at $PANEL_X,$PANEL_Y, $PANEL_W x $PANEL_H; the terminal keeps the focus."

step() { echo "  - $1"; }
step "the punctuation key ，"
panel_click 48 25
step "stroke keys 一 丨 (code 12)"
panel_click $((264 + 16)) $((33 + 18))
panel_click $((296 + 16)) $((33 + 18))
step "the second candidate"
grid_pick 1 2
# The panel now offers what may follow: the moment for its picture.
panel_move $((GRID_X + 120)) $((GRID_Y + 93))
sleep 0.5
screenshot_panel "$OUT/panel.png"
screenshot_screen "$OUT/screen.png"
step "the first associated character"
grid_pick 1 1
sleep 0.3
echo "The terminal received: $(cat "$TARGET_FILE")"
echo "Screenshot of the panel: $OUT/panel.png (whole screen: $OUT/screen.png)"
