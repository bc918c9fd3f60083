#!/bin/sh
# The text the clicks report types: the simplified-Chinese manual pages of
# Debian's manpages-zh (GFDL 1.2 or later, see data/SOURCES.md), fetched
# with apt into the cache, their words taken out of the troff markup, the
# first LIMIT Chinese characters kept, written as GBK.
# Usage: fetch-text.sh CACHE_FOLDER OUTPUT [LIMIT]
set -eu
cache=$1 out=$2 limit=${3:-60000}
case $out in /*) ;; *) out=$(pwd)/$out ;; esac
mkdir -p "$cache/manpages-zh"
cd "$cache/manpages-zh"
if ! ls manpages-zh_*.deb >/dev/null 2>&1; then
  apt-get download manpages-zh || { apt-get update >/dev/null && apt-get download manpages-zh; }
fi
rm -rf tree && mkdir tree && dpkg-deb -x manpages-zh_*.deb tree
python3 - "$cache/manpages-zh/tree" "$out" "$limit" <<'PY'
import gzip, os, re, sys
root, out, limit = sys.argv[1], sys.argv[2], int(sys.argv[3])
pages = []
for d, _, files in os.walk(root):
    if '/zh_CN/' not in d + '/':
        continue
    for f in files:
        if f.endswith('.gz'):
            pages.append(os.path.join(d, f))
text, count = [], 0
for path in sorted(pages):
    try:
        raw = gzip.open(path).read().decode('utf-8')
    except (OSError, UnicodeDecodeError):
        continue
    for line in raw.splitlines():
        if line.startswith(('.\\"', "'\\\"")):
            continue
        line = re.sub(r'^\.[A-Za-z]+\s*', '', line)        # a request's name
        line = re.sub(r'\\f[BIRP]|\\f\(..|\\[-&e(]..?', '', line)  # fonts and escapes
        kept = []
        for ch in line:
            if '\u4e00' <= ch <= '\u9fff':
                try:
                    ch.encode('gbk')
                except UnicodeEncodeError:
                    continue
                count += 1
            kept.append(ch)
        text.append(''.join(kept))
        if count >= limit:
            break
    if count >= limit:
        break
if count < limit:
    sys.exit('only %d Chinese characters in the manual pages' % count)
with open(out, 'wb') as f:
    f.write('\n'.join(text).encode('gbk', errors='ignore'))
print('%s: %d Chinese characters from %d manual pages' % (out, count, len(pages)))
PY
