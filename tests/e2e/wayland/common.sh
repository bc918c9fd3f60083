# What the Wayland end-to-end tests share: running as an ordinary user, the
# checks, the virtual pointer that clicks the panel (an XWayland window), and
# the typing run that both compositors go through. Sourced by sway.sh and
# gnome.sh.
#
# Needs: WORK (a folder the test user owns, holding lumiko, its data and the
# test helpers, see stage_work), and for the typing run the functions
# focus_is_target and target_text of the suite.

# The shared helpers lie beside the suites' folder, or (in a staged copy)
# beside this file.
E2E_HELPERS="$(dirname "${BASH_SOURCE[0]}")/../helpers.sh"
[ -e "$E2E_HELPERS" ] || E2E_HELPERS="$(dirname "${BASH_SOURCE[0]}")/helpers.sh"
source "$E2E_HELPERS"

TEST_USER=lumiko-test

# Which Lumiko a run tests: the Debian package as installed (INSTALLED=1,
# the package dist/lumiko_<version>_<arch>.deb that `make deb` packed), or
# the build tree.
#
# The package is unpacked into the run's folder and laid over /usr in a
# mount namespace of the run's own (a read-only overlay of the package's
# usr over the system's): the compositor, IBus and the panel see
# /usr/bin/lumiko, its tables in /usr/share/lumiko, the component file in
# /usr/share/ibus/component and the engine it names, with the modes the
# package gives them, exactly as `apt-get install` leaves them, while
# nothing changes on this machine (CI runs as root, and a real install would
# replace a Lumiko the machine already has). It needs root; a developer's
# run as an ordinary user tests the build tree.
INSTALLED=${INSTALLED:-0}
package_path() {  # package_path ROOT
  local version
  version=$(sed -n 's/^project(lumiko VERSION \([0-9.]*\).*/\1/p' "$1/CMakeLists.txt")
  echo "$1/dist/lumiko_${version}_$(dpkg --print-architecture).deb"
}
# The command prefix that lays the unpacked package over /usr for the rest.
INSTALL_WRAP=()
install_wrap() {
  INSTALL_WRAP=(unshare --mount --propagation private -- sh -c \
    "mount -t overlay lumiko-package -o lowerdir=$WORK/root/usr:/usr /usr && exec \"\$@\"" sh)
}

# Copies what a run needs into a fresh folder that the test user can read:
# the compositors refuse to run as root, and the clone CI tests may lie in
# root's home.
stage_work() {  # stage_work ROOT BUILD NAME -> WORK
  local root=$1 build=$2
  WORK=$(mktemp -d "/tmp/lumiko-$3.XXXXXX")
  mkdir -p "$WORK/bin" "$WORK/data"
  cp "$root/$build/src/platform/qt/lumiko-test-pointer" "$WORK/bin/"
  [ -e "$root/$build/src/platform/qt/lumiko-test-fakeinput" ] && cp "$root/$build/src/platform/qt/lumiko-test-fakeinput" "$WORK/bin/"
  cp -r "$root/data/词库" "$WORK/data/"
  cp "$root"/tests/e2e/helpers.sh "$root"/tests/e2e/wayland/*.sh "$root"/tests/e2e/wayland/*.py "$WORK/"
  if [ "$INSTALLED" = 1 ]; then
    dpkg-deb -x "$(package_path "$root")" "$WORK/root" || return 1
    echo "INSTALLED=1" >"$WORK/mode.sh"
    chmod -R a+rX "$WORK"
    return 0
  fi
  echo "INSTALLED=0" >"$WORK/mode.sh"
  cp "$root/$build/src/platform/qt/lumiko" "$WORK/bin/"
  local engine="$root/$build/src/platform/qt/typing"
  if [ -e "$engine/lumiko-ibus-engine" ]; then
    # The input source's component file, naming the engine copied here.
    cp "$engine/lumiko-ibus-engine" "$WORK/bin/"
    mkdir -p "$WORK/component"
    sed "s|<exec>[^ <]*|<exec>$WORK/bin/lumiko-ibus-engine|" "$engine/component/lumiko.xml" >"$WORK/component/lumiko.xml"
  fi
  chmod -R a+rX "$WORK"
}

# Runs the inner part of suite NAME (NAME.sh --inner WORK) from a staged
# copy, as the test user, on a private session bus, inside the command
# WRAPPER... if given; keeps its logs in BUILD/e2e-NAME.
run_suite() {  # run_suite NAME BUILD [WRAPPER...]
  local name=$1 build=$2; shift 2
  local root out rc
  root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../../.." && pwd)"
  out="$root/$build/e2e-$name"
  rm -rf "$out"; mkdir -p "$out"
  if [ "$INSTALLED" = 1 ] && [ "$(id -u)" -ne 0 ]; then
    echo "$name: testing the build tree (laying the package over /usr needs root)"
    INSTALLED=0
  fi
  if [ "$INSTALLED" = 1 ] && [ ! -s "$(package_path "$root")" ]; then
    echo "$name: no package $(package_path "$root") (make deb)"; return 1
  fi
  stage_work "$root" "$build" "$name" || return 1
  echo "$name: testing $([ "$INSTALLED" = 1 ] && echo "the package $(package_path "$root") as installed" || echo "the build tree $build")"
  test_user_prepare || return 1
  INSTALL_WRAP=()
  if [ "$INSTALLED" = 1 ]; then
    chown -R 0:0 "$WORK/root"  # as dpkg leaves it
    install_wrap
  fi
  "$@" "${INSTALL_WRAP[@]}" "${TEST_USER_RUN[@]}" dbus-run-session -- bash "$WORK/$name.sh" --inner "$WORK"
  rc=$?
  cp -r "$WORK"/*.log "$WORK"/*.txt "$out/" 2>/dev/null
  rm -rf "$WORK"
  echo "logs: $out"
  return $rc
}

# The command prefix that runs the rest of a suite as the test user (made
# once) with a clean environment, or nothing when the caller is not root.
TEST_USER_RUN=()
test_user_prepare() {
  [ "$(id -u)" -eq 0 ] || return 0
  # XWayland's socket folder, as an X server run by root makes it: a
  # compositor run by the test user would make it its own.
  mkdir -p /tmp/.X11-unix && chmod 1777 /tmp/.X11-unix
  id "$TEST_USER" >/dev/null 2>&1 || useradd --system --create-home --home-dir "/var/lib/$TEST_USER" \
    --shell /bin/bash "$TEST_USER" || return 1
  chown -R "$TEST_USER" "$WORK"
  TEST_USER_RUN=(runuser -u "$TEST_USER" -- env -i PATH="$PATH" HOME="/var/lib/$TEST_USER" LANG=C.UTF-8)
}

# The pointer: a helper process fed one command a line, which answers each
# with "done", queries with a line before it.
pointer_start() {  # pointer_start COMMAND...
  coproc POINTER { exec "$@" 2>>"$WORK/pointer.log"; }
  SESSION_PIDS+=($POINTER_PID)
  local line
  read -r -t 30 line <&"${POINTER[0]}" && [ "$line" = ready ]
}
pointer() {
  local line
  echo "$*" >&"${POINTER[1]}"
  read -r -t 10 line <&"${POINTER[0]}"
}
pointer_query() {
  local answer line
  echo "$*" >&"${POINTER[1]}"
  read -r -t 10 answer <&"${POINTER[0]}" && read -r -t 10 line <&"${POINTER[0]}"
  echo "$answer"
}

# The panel, an XWayland window: found and measured with the X tools.
# The installed panel is started as the desktop's menu starts it: by its
# name on the PATH, in the user's home, where no tables lie.
panel_start() {
  local program="$WORK/bin/lumiko" dir="$WORK/data"
  if [ "$INSTALLED" = 1 ]; then program=lumiko; dir="$HOME"; fi
  (cd "$dir" && exec env QT_QPA_PLATFORM=xcb ${PANEL_ENV:-} "$program") >"$WORK/lumiko.log" 2>&1 &
  PANEL_PID=$!
  SESSION_PIDS+=($PANEL_PID)
  wait_for 60 xdotool search --onlyvisible --pid "$PANEL_PID" || { echo "the panel did not appear"; return 1; }
  PANEL_WINDOW=$(panel_window_of "$PANEL_PID")
  read -r PANEL_X PANEL_Y PANEL_W PANEL_H < <(window_geometry "$PANEL_WINDOW")
  sleep 1  # the first paint
}
panel_shown() { xwininfo -id "$PANEL_WINDOW" | grep -q "Map State: IsViewable"; }
panel_unshown() { ! panel_shown; }
# The minimised panel's strip: a small window of the panel's at its place.
strip_shown() {
  local w
  for w in $(xdotool search --onlyvisible --pid "$PANEL_PID"); do
    [ "$w" = "$PANEL_WINDOW" ] && continue
    window_geometry "$w"
  done | awk -v x="$PANEL_X" -v y="$PANEL_Y" '$1 == x && $2 == y && $4 < 60 {found = 1} END {exit !found}'
}

panel_move() { pointer move $((PANEL_X + $1)) $((PANEL_Y + $2)); sleep 0.05; }
# Clicks at x y of the panel and checks that the target kept the focus.
click() {
  panel_move "$1" "$2"
  pointer click
  sleep 0.2
  check "the target keeps the focus after a click at $1,$2" focus_is_target
}
# Item ROW COL (from 1) of the candidate grid, reached over its neighbour.
pick() {
  local x y near
  read -r x y near < <(grid_cell "$1" "$2")
  panel_move "$near" "$y"
  click "$x" "$y"
}

expected=""
# The target's text with a mark after it: $(…) would drop line breaks at
# its end.
marked_text() { target_text; echo .; }
arrived() {
  wait_for 5 test "$(marked_text)" = "$expected."
  check "$1 arrives as \"$(printf %q "$expected")\"" test "$(marked_text)" = "$expected."
}

# The panel's menu from its background, walked with keys (the menu is an
# X window of the panel's own and takes them through XTest). Under sway the
# menu takes keys only once clicked: MENU_CLICK=1 right-clicks its corner,
# where no item lies.
menu() {
  panel_move 20 20; sleep 0.3
  pointer rclick; sleep 0.4
  if [ "${MENU_CLICK:-0}" = 1 ]; then pointer rclick; sleep 0.2; fi
  xdotool key "$@"; sleep 0.4
}

# The typing run: every kind of input the panel has, into the target that
# has the focus. BACKSPACE_DELETES: 1 when the target deletes a character
# for Backspace, 0 when it records the key (a terminal writes DEL).
typing_run() {
  local backspace_deletes=$1
  # Stroke mode after start-up lists components: 土 starts a code, 地 heads
  # the characters built on it.
  click 132 9                       # 笔画
  pick 1 1
  pick 1 1
  expected+="地"; arrived "a character through a component pick"
  click 20 88                       # the first word of the strip
  expected+="方面"; arrived "a word from the word-hint strip"
  click 132 9
  click $((264 + 16)) $((33 + 18))  # 一
  click $((296 + 16)) $((33 + 18))  # 丨
  pick 1 2
  expected+="可"; arrived "a character through a plain stroke code"
  click 48 25                       # 按k1
  expected+=","; arrived "the punctuation key ，"
  click 325 12                      # 按钮4
  expected+=" "; arrived "the Space key"
  click 300 12                      # 按钮3 with no code typed
  if [ "$backspace_deletes" = 1 ]; then expected=${expected%?}; else expected+=$'\x7f'; fi
  arrived "the Backspace key"
  click 350 12                      # 按钮5
  expected+=$'\n'; arrived "the Enter key"
  menu Down Down Down Down Right Down Return    # 备用输入接口 on
  check "the target keeps the focus after the menu" focus_is_target
  click $((40 + 16 * 2 + 8)) 25     # 按k3
  expected+="、"; arrived "a punctuation key through the clipboard and Ctrl+V"
  menu Down Down Down Down Right Down Return    # and off
}

# The handwriting page: its process draws it inside the panel's window; 王
# written with the pointer on the pad is typed into the target, and the
# target keeps the focus throughout.
page_run() {
  click 132 9                       # 笔画, closing whatever the last step left open
  sleep 0.5
  click 56 9                        # 云手写输入
  engine() { pgrep -P "$(pgrep -d, -P "$PANEL_PID" -x lumiko-page || echo 0)" -f QtWebEngineProcess; }
  wait_for 30 engine
  check "the page's process starts the browser engine" engine
  sleep 2
  click $((-1 + 45)) $((33 + 17))   # the link 手写输入
  sleep 0.5
  local stroke x1 y1 x2 y2 i
  for stroke in "60 60 176 60" "72 118 164 118" "118 60 118 176" "50 176 186 176"; do
    read -r x1 y1 x2 y2 <<<"$stroke"
    panel_move $((-1 + 7 + x1)) $((33 + 41 + y1))
    pointer down; sleep 0.05
    for i in 1 2 3 4 5 6 7 8; do
      panel_move $((-1 + 7 + x1 + (x2 - x1) * i / 8)) $((33 + 41 + y1 + (y2 - y1) * i / 8))
    done
    pointer up; sleep 0.4
  done
  check "the target keeps the focus while writing on the pad" focus_is_target
  sleep 0.5
  click $((-1 + 26)) $((33 + 305))  # the first candidate
  expected+="王"; arrived "a character written on the handwriting pad"
  click 132 9                       # 笔画
}

# The panel's window: dragged by its background it follows the pointer;
# 按钮9 minimises it into a strip with its title, and a double click on the
# strip restores it.
panel_window_run() {
  panel_move 20 20
  pointer down; sleep 0.1
  pointer move $((PANEL_X + 45)) $((PANEL_Y + 35)); sleep 0.1
  pointer move $((PANEL_X + 70)) $((PANEL_Y + 50)); sleep 0.1
  pointer up; sleep 0.3
  check "dragging the background moves the panel by 50,30" \
    test "$(window_geometry "$PANEL_WINDOW")" = "$((PANEL_X + 50)) $((PANEL_Y + 30)) 431 412"
  check "the target keeps the focus after the drag" focus_is_target
  read -r PANEL_X PANEL_Y PANEL_W PANEL_H < <(window_geometry "$PANEL_WINDOW")

  click 392 12
  wait_for 5 panel_unshown
  check "按钮9 minimises the panel" panel_unshown
  wait_for 5 strip_shown
  check "a strip takes the panel's place" strip_shown
  strip_restore
}

# A double click on the strip restores the panel.
strip_restore() {
  # The strip is a window that has just appeared: let the compositor see the
  # pointer over it before the double click.
  pointer move $((PANEL_X + 12)) $((PANEL_Y + 9)); sleep 0.3
  pointer move $((PANEL_X + 10)) $((PANEL_Y + 8)); sleep 0.3
  pointer dblclick; sleep 0.3
  wait_for 5 panel_shown
  check "a double click on the strip restores it" panel_shown
  check "the target keeps the focus after the restore" focus_is_target
}
