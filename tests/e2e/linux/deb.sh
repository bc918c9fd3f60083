#!/usr/bin/env bash
# End-to-end test of the Debian package, without installing it on this
# machine (CI runs as root, and a real install would replace a Lumiko the
# machine already has): apt resolves the package's dependencies in a
# simulated install, lintian and appstreamcli check it, and the package is
# unpacked with dpkg -x into a throw-away root whose program is started from
# another folder under Xvfb: it must find the installed tables (a stroke code
# types its character into a terminal) and make the user's folders in the
# user's home, writing nothing into the installed tree.
#   usage: deb.sh BUILD DIST
set -uo pipefail
BUILD=${1:-build}
DIST=${2:-dist}
ROOT="$(cd "$(dirname "$0")/../../.." && pwd)"
OUT="$ROOT/$BUILD/e2e-deb"
rm -rf "$OUT"
mkdir -p "$OUT"

source "$ROOT/tests/e2e/helpers.sh"
finish() {
  echo "deb-test: $passed passed, $failed failed (logs in $OUT)"
  [ "$failed" -eq 0 ]
}

version=$(sed -n 's/^project(lumiko VERSION \([0-9.]*\).*/\1/p' "$ROOT/CMakeLists.txt")
deb="$ROOT/$DIST/lumiko_${version}_$(dpkg --print-architecture).deb"
check "the package $deb exists" test -s "$deb" || { finish; exit 1; }

# --- The package as a whole -------------------------------------------------
dpkg-deb -c "$deb" >"$OUT/contents.txt"
outside() { awk '{print $6}' "$OUT/contents.txt" | grep -v -e '^\./$' -e '^\./usr/'; }
check "every file lies under /usr (nothing for apt-get remove to leave behind)" test -z "$(outside)"
check "no maintainer scripts" test -z "$(dpkg-deb -I "$deb" | grep -E '^ +[0-9]+ bytes, +[0-9]+ lines +\*? *(pre|post)(inst|rm)')"
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
for p in libqt6widgets6 libqt6webenginewidgets6 libopencc1.1 libcurl4 libx11-6 libxtst6 fonts-noto-cjk libqt6webenginecore6-bin; do
  check "depends on $p" grep -qE "(^|, )$p( |,|$)" <<<"$depends"
done
check "recommends ibus (the Wayland desktops' typing road)" grep -qE "(^|, )ibus( |,|$)" <<<"$(dpkg-deb -f "$deb" Recommends)"
check "depends on the IBus library the engine links" grep -qE "(^|, )libibus-1.0-5( |,|$)" <<<"$depends"
# apt resolves every dependency from the archive (a simulation changes nothing).
apt-get -s -o Debug::NoLocking=1 install "$deb" >"$OUT/apt-simulate.log" 2>&1
check "apt-get can install the package with its dependencies (simulated)" grep -q "^Inst lumiko " "$OUT/apt-simulate.log"

lintian --fail-on error --allow-root "$deb" >"$OUT/lintian.log" 2>&1
status=$?
cat "$OUT/lintian.log"
check "lintian reports no errors" test "$status" -eq 0

# --- Unpacked into a throw-away root ----------------------------------------
R="$OUT/root"
dpkg-deb -x "$deb" "$R"
LUMIKO="$R/usr/bin/lumiko"
for f in usr/share/lumiko/词库/笔画.txt usr/share/lumiko/词库/字典.txt usr/share/lumiko/pinyin.txt \
         usr/share/applications/lumiko.desktop usr/share/metainfo/org.lumiko.Lumiko.metainfo.xml \
         usr/share/man/man1/lumiko.1.gz usr/share/doc/lumiko/copyright; do
  check "installs /$f" test -s "$R/$f"
done
# Every program that `cmake --install` makes executable is executable in
# the package, and nothing else is.
I="$OUT/cmake-install"
DESTDIR="$I" cmake --install "$ROOT/$BUILD" --prefix /usr >"$OUT/cmake-install.log"
modes_of() { (cd "$1" && find usr -type f ! -path 'usr/share/doc/*' ! -path 'usr/share/man/*' \
  -printf '%p %m\n' | sed 's/ [0-7]*[1357]$/ x/; s/ [0-7]*[0246]$/ -/' | sort); }
modes_of "$I" >"$OUT/modes-install.txt"
modes_of "$R" >"$OUT/modes-package.txt"
check "the package keeps the modes cmake --install gives ($(grep -c ' x$' "$OUT/modes-install.txt") programs)" \
  diff "$OUT/modes-install.txt" "$OUT/modes-package.txt"
while read -r f m; do
  check "the installed program /$f is executable by everyone" test "$(stat -c %a "$R/$f")" = 755
done < <(grep ' x$' "$OUT/modes-install.txt")
engine=$(sed -n 's|.*<exec>\([^ <]*\).*|\1|p' "$R/usr/share/ibus/component/lumiko.xml")
check "the input source's component names the installed engine ($engine)" test "$engine" = /usr/libexec/lumiko/lumiko-ibus-engine
check "and the engine is an executable program" test -x "$R$engine" -a -f "$R$engine"
# KDE Plasma on Wayland: the entry System Settings lists as a virtual
# keyboard starts the launcher, which hands over to IBus's Wayland front-end.
kwin_entry="$R/usr/share/applications/org.lumiko.Lumiko.KWinInput.desktop"
check "the input method entry for KWin is a virtual keyboard" grep -qx "X-KDE-Wayland-VirtualKeyboard=true" "$kwin_entry"
check "desktop-file-validate accepts it" desktop-file-validate "$kwin_entry"
launcher=$(sed -n 's/^Exec=//p' "$kwin_entry")
check "it starts the installed launcher ($launcher)" test "$launcher" = /usr/libexec/lumiko/lumiko-kwin-input -a -x "$R$launcher"
check "the launcher passes sh -n" sh -n "$R$launcher"
check "recommends ibus-wayland, which the launcher hands over to" grep -qE "(^|, )ibus-wayland( |,|$)" <<<"$(dpkg-deb -f "$deb" Recommends)"
# Width and height from the PNG header.
png_size() { python3 -c 'import struct,sys; d=open(sys.argv[1],"rb").read(24); print("%dx%d" % struct.unpack(">II", d[16:24]) if d[:8]==b"\x89PNG\r\n\x1a\n" else "")' "$1"; }
for n in 16 32 48 64 128 256; do
  check "an icon of ${n}x$n" test "$(png_size "$R/usr/share/icons/hicolor/${n}x$n/apps/lumiko.png")" = "${n}x$n"
done
appstreamcli validate --no-net "$R/usr/share/metainfo/org.lumiko.Lumiko.metainfo.xml" >"$OUT/appstream.log" 2>&1
check "appstreamcli validate accepts the metainfo" test $? -eq 0 || cat "$OUT/appstream.log"
check "desktop-file-validate accepts the desktop entry" desktop-file-validate "$R/usr/share/applications/lumiko.desktop"
check "the desktop entry is named Lumiko输入法" grep -qx "Name=Lumiko输入法" "$R/usr/share/applications/lumiko.desktop"

# The command line, without a display.
check "--version answers without a display" test "$(env -u DISPLAY "$LUMIKO" --version)" = "lumiko $version"
check "--help answers without a display" sh -c "env -u DISPLAY '$LUMIKO' --help | grep -q -- '--version'"
env -u DISPLAY -u WAYLAND_DISPLAY "$LUMIKO" >"$OUT/nodisplay.out" 2>"$OUT/nodisplay.err"
status=$?
check "without a display it ends with status 1" test "$status" -eq 1
check "and says so in one line on standard error" test "$(wc -l <"$OUT/nodisplay.err")" -eq 1 -a ! -s "$OUT/nodisplay.out"

# Started from a folder without tables, by a user whose home is scratch.
touch "$OUT/before-start"
sleep 1
export HOME="$OUT/home"
unset XDG_CONFIG_HOME XDG_DATA_HOME
mkdir -p "$HOME/somewhere"
PANEL_DIR="$HOME/somewhere"
source "$ROOT/tests/e2e/linux/xsession.sh"
trap session_stop EXIT
if session_start && panel_start; then
  check "the installed panel appears at 533,296, 431x412" test "$PANEL_X $PANEL_Y $PANEL_W $PANEL_H" = "533 296 431 412"
  panel_click $((264 + 16)) $((33 + 18))  # 一
  panel_click $((296 + 16)) $((33 + 18))  # 丨
  grid_pick 1 2
  wait_for 5 test "$(cat "$TARGET_FILE")" = "可"
  check "a stroke code over the installed tables types 可" test "$(cat "$TARGET_FILE")" = "可"
  check "the user's settings folder is made" test -d "$HOME/.config/lumiko"
  check "the user's dictionary folder is made" test -d "$HOME/.local/share/lumiko/词库/字典"
  check "nothing is written into the installed tree" test -z "$(find "$R" -newer "$OUT/before-start")"
  screenshot_panel "$OUT/panel.png"
  # The handwriting page's process is started from where the package put it
  # when the page is shown; the engine starts only then.
  page=$R/usr/libexec/lumiko/lumiko-page
  check "installs the page's program, stripped, mode 0755" \
    sh -c "test \"\$(stat -c %a '$page')\" = 755 && ! readelf -S '$page' | grep -q '\.symtab'"
  check "no browser engine before the page is shown" test -z "$(pgrep -f QtWebEngineProcess)"
  panel_click 56 9  # 云手写输入
  engine() { pgrep -P "$(pgrep -P "$PANEL_PID" -x lumiko-page || echo 0)" -f QtWebEngineProcess; }
  wait_for 30 engine >/dev/null
  check "the installed panel starts the page's process and its browser engine" test -n "$(engine)"
  check "and finds the page's program" bash -c "! grep -q 'cannot be shown' '$OUT/lumiko.log'"
else
  check "the installed panel starts" false
  cat "$OUT/lumiko.log"
fi
session_stop
finish
