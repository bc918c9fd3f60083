#!/usr/bin/env bash
# `make perf-report`: what the Linux panel costs while it runs all day, on a
# virtual desktop (Xvfb 1024x768, openbox, a tray, an xterm as the target),
# beside the floor: lumiko-floor, a frameless Qt 6 window showing one CJK
# character. In one run, for the floor, the panel, and the panel with the
# handwriting page shown:
#   - time from launch to the window on screen, files cached: ROUNDS rounds
#     of the floor and the panel in turn, after one round that brings the
#     files into the cache; median (min-max);
#   - PSS and USS (private clean + dirty) of the process tree, SETTLE
#     seconds after launch (or after the page was shown);
#   - wake-ups a second (voluntary context switches of every thread of the
#     tree; threads that end meanwhile are left out) while shown and idle,
#     and while hidden (tray only), over WINDOW seconds;
#   - CPU of the tree while shown and idle, over CPU_WINDOW seconds;
#   - with the page: the time from the click on 云手写输入 until the page
#     area stops changing (the pad drawn), and, after going back to the grid
#     (笔画) and hiding the panel, PSS and wake-ups again;
#   - the browser engine alone: the page's process (lumiko-page) showing an
#     empty page, without the panel, which is the least a page shown in a
#     browser view costs.
# The table at the end repeats the figures in the issue's columns.
# LUMIKO=path measures another build of the program (an earlier one, for a
# comparison); ONLY="floor panel page engine" chooses what is measured.
# Usage: perf-report.sh [BUILD]
set -uo pipefail
BUILD=${1:-build}
SETTLE=${SETTLE:-8}
WINDOW=${WINDOW:-5}
CPU_WINDOW=${CPU_WINDOW:-10}
ROUNDS=${ROUNDS:-5}
ONLY=${ONLY:-floor panel page engine}
ROOT="$(cd "$(dirname "$0")/../.." && pwd)"
OUT="${PERF_OUT:-$ROOT/$BUILD/perf-report}"
FLOOR="$ROOT/$BUILD/tools/perf/lumiko-floor"
rm -rf "$OUT"
source "$ROOT/tests/e2e/linux/xsession.sh"
[ -x "$LUMIKO" ] || { echo "no panel at $LUMIKO: build it first"; exit 1; }
[ -x "$FLOOR" ] || { echo "no floor program at $FLOOR: build it first"; exit 1; }
trap session_stop EXIT
session_start || exit 1
tray_start || exit 1

HZ=$(getconf CLK_TCK)
wants() { case " $ONLY " in *" $1 "*) return 0 ;; esac; return 1; }
now_ms() { date +%s%3N; }
load() { cut -d' ' -f1 /proc/loadavg; }

# The process and every process below it.
tree() {
  local pid=$1 child
  echo "$pid"
  for child in $(cat /proc/"$pid"/task/*/children 2>/dev/null); do tree "$child"; done
}
# Sum of a field of smaps_rollup over the tree, in kB.
tree_kb() {
  local p sum=0 v
  for p in $(tree "$1"); do
    v=$(awk -v f="$2:" '$1 == f {s += $2} END{print s+0}' /proc/"$p"/smaps_rollup 2>/dev/null)
    sum=$((sum + ${v:-0}))
  done
  echo "$sum"
}
pss_kb() { tree_kb "$1" Pss; }
uss_kb() { echo $(($(tree_kb "$1" Private_Clean) + $(tree_kb "$1" Private_Dirty))); }
# "TID COUNT" of every thread of the tree.
thread_switches() {
  local p t
  for p in $(tree "$1"); do
    for t in /proc/"$p"/task/*; do
      awk -v t="${t##*/}" '/^voluntary_ctxt_switches:/{print t, $2}' "$t/status" 2>/dev/null
    done
  done
}
ticks() {  # utime + stime of the processes given
  local p
  for p in "$@"; do awk '{print $14 + $15}' /proc/"$p"/stat 2>/dev/null; done | awk '{s+=$1} END{print s+0}'
}
rate() {  # wake-ups a second of the tree over WINDOW seconds
  local a b
  a=$(thread_switches "$1"); sleep "$WINDOW"; b=$(thread_switches "$1")
  awk -v w="$WINDOW" 'NR == FNR {a[$1] = $2; next} {s += $2 - ($1 in a ? a[$1] : 0)} END{printf "%.1f", s / w}' \
    <(echo "$a") <(echo "$b")
}
cpu() {  # percent of one core of the tree over CPU_WINDOW seconds
  local pids a b
  pids=$(tree "$1")
  a=$(ticks $pids); sleep "$CPU_WINDOW"; b=$(ticks $pids)
  awk -v a="$a" -v b="$b" -v w="$CPU_WINDOW" -v hz="$HZ" 'BEGIN{printf "%.2f", 100 * (b - a) / hz / w}'
}
# Each process of the tree: its PSS in MB and its kind (the engine's helpers
# say theirs in --type=).
each() {
  local p v kind
  for p in $(tree "$1"); do
    v=$(awk '/^Pss:/{print $2; exit}' /proc/"$p"/smaps_rollup 2>/dev/null)
    kind=$(tr '\0' '\n' </proc/"$p"/cmdline 2>/dev/null | sed -n 's/^--type=//p' | head -1)
    printf '%s %s MB; ' "${kind:-$(cat /proc/"$p"/comm 2>/dev/null)}" $((${v:-0} / 1024))
  done
}
mb() { echo $((($1 + 512) / 1024)); }

# Starts a program from the data folder and leaves the milliseconds until
# its window is on screen in LAUNCH_MS, its pid in LAUNCHED.
launch() {
  local start end
  start=$(now_ms)
  (cd "$ROOT/data" && exec "$1") >"$OUT/launch.log" 2>&1 &
  LAUNCHED=$!
  until xdotool search --onlyvisible --pid "$LAUNCHED" >/dev/null 2>&1; do
    kill -0 "$LAUNCHED" 2>/dev/null || { echo "$1 ended" >&2; cat "$OUT/launch.log" >&2; return 1; }
    sleep 0.005
  done
  end=$(now_ms)
  LAUNCH_MS=$((end - start))
}
stop() { [ -n "${LAUNCHED:-}" ] && { kill "$LAUNCHED" 2>/dev/null; wait "$LAUNCHED" 2>/dev/null; }; LAUNCHED=; }
stop_panel() { [ -n "${PANEL_PID:-}" ] && { kill "$PANEL_PID" 2>/dev/null; wait "$PANEL_PID" 2>/dev/null; }; PANEL_PID=; }
summary() { sort -n | awk '{a[NR]=$1} END{printf "%d (%d-%d)", a[int((NR+1)/2)], a[1], a[NR]}'; }
trap 'stop; stop_panel; session_stop' EXIT

# --- Start-up: the floor and the panel in turn ---
floor_times=() panel_times=()
for round in $(seq 0 "$ROUNDS"); do
  for who in floor panel; do
    prog=$FLOOR; [ $who = panel ] && prog=$LUMIKO
    launch "$prog" || exit 1
    sleep 1
    stop
    [ "$round" = 0 ] && continue  # files into the cache
    if [ $who = floor ]; then floor_times+=("$LAUNCH_MS"); else panel_times+=("$LAUNCH_MS"); fi
  done
done
floor_start=$(printf '%s\n' "${floor_times[@]}" | summary)
panel_start_ms=$(printf '%s\n' "${panel_times[@]}" | summary)
echo "window on screen after launch, files cached (load $(load)): floor ${floor_start} ms, panel ${panel_start_ms} ms"

declare -A PSS USS SHOWN HIDDEN CPU PROCS
# --- The floor ---
if wants floor; then
  launch "$FLOOR" || exit 1
  sleep "$SETTLE"
  PSS[floor]=$(pss_kb "$LAUNCHED"); USS[floor]=$(uss_kb "$LAUNCHED"); PROCS[floor]=$(tree "$LAUNCHED" | wc -l)
  SHOWN[floor]=$(rate "$LAUNCHED"); CPU[floor]=$(cpu "$LAUNCHED"); HIDDEN[floor]="-"
  echo "floor (load $(load)): PSS $(mb "${PSS[floor]}") MB, USS $(mb "${USS[floor]}") MB; wake-ups/s ${SHOWN[floor]}; CPU ${CPU[floor]} %"
  stop
fi

# The panel measured shown, then hidden; with `page`, the page shown first.
measure_panel() {
  local key=$1
  panel_start || { cat "$OUT/lumiko.log"; return 1; }
  if [ "$key" = page ]; then
    local shot="$OUT/page.png" last="" sum start now changed
    "$SCREENSHOT" "$shot" "$PANEL_X" "$((PANEL_Y + 33))" "$PANEL_W" "$((PANEL_H - 33))" 2>/dev/null
    last=$(md5sum <"$shot")
    panel_move 56 9
    start=$(now_ms)
    xdotool click 1
    changed=$start
    # The page area, looked at until it has not changed for two seconds.
    while now=$(now_ms); [ $((now - changed)) -lt 2000 ] && [ $((now - start)) -lt 15000 ]; do
      "$SCREENSHOT" "$shot" "$PANEL_X" "$((PANEL_Y + 33))" "$PANEL_W" "$((PANEL_H - 33))" 2>/dev/null
      sum=$(md5sum <"$shot")
      [ "$sum" != "$last" ] && { last=$sum; changed=$(now_ms); }
    done
    PAGE_OPEN=$((changed - start))
    PANEL_WINDOW=$(panel_window_of "$PANEL_PID")  # Qt may make the window anew for the view
    [ -n "$PANEL_WINDOW" ] || { echo "the panel ended with the page shown"; cat "$OUT/lumiko.log"; return 1; }
  fi
  sleep "$SETTLE"
  PSS[$key]=$(pss_kb "$PANEL_PID"); USS[$key]=$(uss_kb "$PANEL_PID"); PROCS[$key]=$(tree "$PANEL_PID" | wc -l)
  local by; by=$(each "$PANEL_PID")
  SHOWN[$key]=$(rate "$PANEL_PID")
  CPU[$key]=$(cpu "$PANEL_PID")
  if [ "$key" = page ]; then
    panel_click 132 9  # 笔画: back to the grid
    sleep "$SETTLE"
    PSS[closed]=$(pss_kb "$PANEL_PID"); USS[closed]=$(uss_kb "$PANEL_PID"); PROCS[closed]=$(tree "$PANEL_PID" | wc -l)
    SHOWN[closed]=$(rate "$PANEL_PID")
  fi
  panel_click 417 12  # 按钮10 hides the panel; the tray icon stays
  wait_for 5 panel_unshown || echo "warning: the panel did not hide"
  sleep 1
  HIDDEN[$key]=$(rate "$PANEL_PID")
  local hidden_pss; hidden_pss=$(pss_kb "$PANEL_PID")
  PSS[${key}_hidden]=$hidden_pss
  echo "$key (load $(load)): ${PROCS[$key]} processes, PSS $(mb "${PSS[$key]}") MB, USS $(mb "${USS[$key]}") MB" \
    "(${by}); wake-ups/s shown ${SHOWN[$key]}, hidden ${HIDDEN[$key]}; CPU shown ${CPU[$key]} %;" \
    "PSS hidden $(mb "$hidden_pss") MB"
  if [ "$key" = page ]; then
    echo "  page drawn ${PAGE_OPEN} ms after the click; back on the grid: ${PROCS[closed]} processes," \
      "PSS $(mb "${PSS[closed]}") MB, USS $(mb "${USS[closed]}") MB, wake-ups/s ${SHOWN[closed]}"
  fi
  stop_panel
}
wants panel && { measure_panel panel || exit 1; }
wants page && { measure_panel page || exit 1; }

# --- The browser engine alone ---
if wants engine; then
  page_program=$(dirname "$LUMIKO")/lumiko-page
  root_window=$(xwininfo -root | awk '/Window id:/ {print $4}')
  exec {engine_input}> >(exec "$page_program" --into $((root_window)) >/dev/null 2>"$OUT/engine.log")
  engine_pid=$!
  printf 'size\t431\t346\nvisible\t1\nurl\tabout:blank\n' >&"$engine_input"
  sleep "$SETTLE"
  PSS[engine]=$(pss_kb "$engine_pid"); USS[engine]=$(uss_kb "$engine_pid"); PROCS[engine]=$(tree "$engine_pid" | wc -l)
  echo "engine alone (load $(load)): ${PROCS[engine]} processes, PSS $(mb "${PSS[engine]}") MB," \
    "USS $(mb "${USS[engine]}") MB ($(each "$engine_pid"))"
  exec {engine_input}>&-  # the page's process ends with its input
  for _ in $(seq 50); do kill -0 "$engine_pid" 2>/dev/null || break; sleep 0.1; done
  kill -0 "$engine_pid" 2>/dev/null && { echo "warning: the page's process did not end with its input"; kill "$engine_pid"; }
fi

row() {  # name start key hiddenkey
  local k=$3
  [ -n "${PSS[$k]:-}" ] || return 0
  printf '| %s | %s ms | %s MB (%s) | %s MB | %s / %s | %s %% |\n' "$1" "$2" "$(mb "${PSS[$k]}")" \
    "${PROCS[$k]} process$([ "${PROCS[$k]}" = 1 ] || echo es)" "$(mb "${USS[$k]}")" "${SHOWN[$k]}" "${HIDDEN[$k]}" "${CPU[$k]}"
}
{
  echo "Lumiko panel ($LUMIKO), Xvfb 1024x768 with openbox, $(nproc) cores, load $(load) at the end"
  echo
  echo "| | window after launch, warm | PSS of the process tree | private (USS) | wake-ups/s idle shown / hidden | CPU idle shown |"
  echo "|---|---|---|---|---|---|"
  row "Lumiko, no handwriting page" "$panel_start_ms" panel
  row "Lumiko, handwriting page shown" "$panel_start_ms" page
  row "floor (C++ Qt 6 window)" "$floor_start" floor
  [ -n "${PSS[engine]:-}" ] && printf '| browser engine alone (lumiko-page, empty page) | - | %s MB (%s processes) | %s MB | - | - |\n' \
    "$(mb "${PSS[engine]}")" "${PROCS[engine]}" "$(mb "${USS[engine]}")"
  if [ -n "${PSS[closed]:-}" ]; then
    echo
    echo "Handwriting page: drawn ${PAGE_OPEN} ms after the click. Back on the grid: PSS $(mb "${PSS[closed]}") MB," \
      "USS $(mb "${USS[closed]}") MB, ${PROCS[closed]} processes, ${SHOWN[closed]} wake-ups/s shown;" \
      "then hidden: PSS $(mb "${PSS[page_hidden]}") MB$([ -n "${PSS[panel_hidden]:-}" ] &&
        echo " (a panel that never showed the page: $(mb "${PSS[panel_hidden]}") MB)")."
  fi
} | tee "$OUT/report.txt"
