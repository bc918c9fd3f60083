#!/usr/bin/env bash
# Fetches zinnia's sources from the Debian source package (pinned, checked by
# SHA-256) and unpacks them with Debian's patches into DEST/zinnia-0.06, for
# the Windows build, which compiles them into lumiko.exe. The system's apt
# configuration is not touched: a private one with a deb-src line for the
# Debian archive lives in the cache. Usage: fetch-zinnia.sh DEST
set -euo pipefail
DEST=$1
VERSION=0.06-7
declare -A SHA256=(
  [zinnia_0.06-7.dsc]=79e97a05e32be989069494608981f1c009ef21d0f911d02dfcbfc6a046be1ea6
  [zinnia_0.06.orig.tar.gz]=ece3af93f937282971634fd81d3e997f848e8cfa958220e26a4564ca064ac20b
  [zinnia_0.06-7.debian.tar.xz]=8f570f2747cb13b06c0f96f7a77f71bba9711e5843c0d2c3fa624c418c347a52
)
[ -f "$DEST/zinnia-0.06/zinnia.h" ] && exit 0

CACHE=${LUMIKO_DATA_CACHE:-$HOME/.cache/lumiko-data}
APT="$CACHE/apt-src"
SRC="$CACHE/deb-src"
mkdir -p "$APT/lists/partial" "$APT/cache/archives/partial" "$SRC"
checked() {
  for f in "${!SHA256[@]}"; do
    [ -f "$SRC/$f" ] && echo "${SHA256[$f]}  $SRC/$f" | sha256sum -c --quiet - >/dev/null 2>&1 || return 1
  done
}
if ! checked; then
  echo "Fetching the zinnia $VERSION sources from the Debian archive" >&2
  echo "deb-src [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg] http://deb.debian.org/debian bookworm main" \
    >"$APT/sources.list"
  opts=(-o "Dir::Etc::SourceList=$APT/sources.list" -o Dir::Etc::SourceParts=/nonexistent
        -o "Dir::State::Lists=$APT/lists" -o "Dir::Cache=$APT/cache" -o APT::Sandbox::User=root)
  apt-get "${opts[@]}" -qq update
  (cd "$SRC" && apt-get "${opts[@]}" -qq source --download-only "zinnia=$VERSION")
  checked || { echo "fetch-zinnia: the zinnia sources do not have the pinned SHA-256" >&2; exit 1; }
fi
rm -rf "$DEST.tmp" && mkdir -p "$DEST.tmp"
(cd "$DEST.tmp" && dpkg-source --no-check -x "$SRC/zinnia_$VERSION.dsc" zinnia-0.06 >/dev/null)
mkdir -p "$DEST" && rm -rf "$DEST/zinnia-0.06" && mv "$DEST.tmp/zinnia-0.06" "$DEST/" && rm -rf "$DEST.tmp"
