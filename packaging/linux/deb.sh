#!/usr/bin/env bash
# `make deb`: installs the built panel into a staging root and packs
# dist/lumiko_<version>_<arch>.deb, with the dependencies dpkg-shlibdeps finds
# in the program plus the packages of ./depends.
#   usage: deb.sh BUILD DIST
set -euo pipefail
BUILD=${1:?usage: deb.sh BUILD DIST}
DIST=${2:?usage: deb.sh BUILD DIST}
HERE="$(cd "$(dirname "$0")" && pwd)"
ROOT_DIR="$(cd "$HERE/../.." && pwd)"
cd "$ROOT_DIR"

version=$(sed -n 's/^project(lumiko VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
arch=$(dpkg --print-architecture)
forum=$(sed -n 's/^LUMIKO_FORUM_URL:STRING=//p' "$BUILD/CMakeCache.txt")
stage="$PWD/$BUILD/deb"
root="$stage/root"
rm -rf "$stage"
mkdir -p "$root/DEBIAN" "$stage/debian" "$DIST"

DESTDIR="$root" cmake --install "$BUILD" --prefix /usr >"$stage/install.log"
[ -x "$root/usr/bin/lumiko" ] || { echo "deb: the panel was not installed (is Qt 6 there?)"; exit 1; }

# As Debian's helpers do: no debugging symbols in the program, compressed
# manual page and changelog, the copyright file, plain permissions.
# Every program the package installs, the input source's engine and the
# handwriting page's program included.
find "$root/usr" -type f -perm -u+x |
  while read -r program; do
    [ "$(head -c 4 "$program" | od -An -c | tr -d ' ')" = '177ELF' ] || continue
    strip --strip-unneeded --remove-section=.comment --remove-section=.note "$program"
  done
gzip -9n "$root/usr/share/man/man1/lumiko.1"
doc="$root/usr/share/doc/lumiko"
mkdir -p "$doc"
cp "$HERE/copyright" "$doc/copyright"
date=$(date -R -d "@${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct 2>/dev/null || date +%s)}")
printf 'lumiko (%s) unstable; urgency=medium\n\n  * Built from the Lumiko source tree.\n\n -- Lumiko developers <lumiko@lumiko.org>  %s\n' \
  "$version" "$date" | gzip -9n >"$doc/changelog.gz"
# Plain modes, and every program the install made executable stays so (the
# panel, the handwriting page's program, the input source's engine, the
# desktop launchers).
find "$root" -type d -exec chmod 0755 {} +
find "$root" -type f -perm -u+x -exec chmod 0755 {} +
find "$root" -type f ! -perm -u+x -exec chmod 0644 {} +

# The libraries the program links, as package dependencies.
printf 'Source: lumiko\n\nPackage: lumiko\nArchitecture: any\n' >"$stage/debian/control"
[ -x "$stage/root/usr/libexec/lumiko/lumiko-page" ] || { echo "deb: the handwriting page's program was not installed"; exit 1; }
programs=$(cd "$stage" && find root/usr/bin root/usr/libexec -type f -perm -u+x 2>/dev/null |
  while read -r f; do [ "$(head -c 4 "$f" | od -An -c | tr -d ' ')" = '177ELF' ] && echo "$f"; done)
shlibs=$(cd "$stage" && dpkg-shlibdeps -O $programs 2>"$stage/shlibdeps.log" | sed -n 's/^shlibs:Depends=//p')
[ -n "$shlibs" ] || { cat "$stage/shlibdeps.log"; echo "deb: dpkg-shlibdeps found no dependencies"; exit 1; }
# The packages of ./depends that the libraries do not already bring.
extra=$(sed -e 's/#.*//' -e '/^[[:space:]]*$/d' "$HERE/depends" | while read -r p; do
  grep -qE "(^|, )$p( |,|$)" <<<"$shlibs" || printf '%s\n' "$p"
done | paste -sd, | sed 's/,/, /g')
recommends=$(sed -e 's/#.*//' -e '/^[[:space:]]*$/d' "$HERE/recommends" | paste -sd, | sed 's/,/, /g')

cat >"$root/DEBIAN/control" <<CONTROL
Package: lumiko
Version: $version
Architecture: $arch
Maintainer: Lumiko developers <lumiko@lumiko.org>
Installed-Size: $(du -sk --exclude=DEBIAN "$root" | cut -f1)
Depends: $shlibs${extra:+, $extra}
Recommends: $recommends
Section: utils
Priority: optional
Homepage: $forum/
Description: mouse-driven Chinese character input panel
 Lumiko is a small panel that floats beside the application you are typing
 into and never takes the keyboard focus. Click the five basic strokes, the
 ten four-corner shapes or the extra-stroke keys; the panel shows the
 matching characters, and a click types the one you choose into the focused
 application: into X applications directly, into Wayland applications of
 GNOME and KDE Plasma through the Lumiko input source of IBus.
 .
 After every character it offers the characters that often follow it and
 two-character words; an information strip shows the pinyin, the codes and a
 reverse-lookup dictionary entry of what you typed.
CONTROL
(cd "$root" && find usr -type f -print0 | sort -z | xargs -0 md5sum) >"$root/DEBIAN/md5sums"
chmod 0644 "$root/DEBIAN/control" "$root/DEBIAN/md5sums"

deb="$DIST/lumiko_${version}_${arch}.deb"
dpkg-deb --root-owner-group -Zxz --build "$root" "$deb" >/dev/null
echo "Packed $deb"
