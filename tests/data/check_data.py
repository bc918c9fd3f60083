#!/usr/bin/env python3
"""Checks the delivered data files: the built-in tables, the 词库 files, the
pinyin readings, the key pictures and the icons.

    check_data.py <repository root>

Quoted rows and pages are checked by running the panel's own search over
the bytes of the files: a prefix search for CR LF + code in table order,
the duplicate skip, 30 items to a grid page and 18 to a strip page.
"""

import os
import re
import struct
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tools", "datagen"))
from pagesearch import CRLF, pages  # noqa: E402

FE = {0x20087: b"\xfe\x51", 0x9FB4: b"\xfe\x59", 0x200CC: b"\xfe\x53", 0x20089: b"\xfe\x52"}


def g(text):
    """GBK bytes of a text; the FE components by their GBK codes."""
    out = b""
    for ch in text:
        b = FE.get(ord(ch)) or ch.encode("gb18030")
        assert len(b) <= 2, ch
        out += b
    return out


# --- the panel's search -----------------------------------------------------

def strip_pages(table, code):
    return pages(table, code, 18, False)


def check_search(_root):
    """The search itself, over tiny tables: which lines the panel offers."""
    long_value = g("长") * 100  # the line outgrows the panel's 200-byte window
    cases = [
        # name, table lines, code, first page
        ("a repeat is skipped", [b"1 a", b"1 a", b"1 b"], b"1", [b"a", b"b"]),
        # the part of the key past the code is looked for, not kept on the page
        ("a longer key is no repeat", [b"1 a", b"12 a", b"12 a"], b"1", [b"a", b"a", b"a"]),
        ("a value standing inside another is skipped", [b"1 ab", b"1 b"], b"1", [b"ab"]),
        ("a line without a value is passed over", [b"1", b"1 ", b"1 a"], b"1", [b"a"]),
        ("a line longer than its window is passed over", [b"1 " + long_value, b"1 a"], b"1", [b"a"]),
        ("a broken character is passed over", [b"1 \xb3", b"1 " + g("一")], b"1", [g("一")]),
        ("the value ends at its blank", [b"1 a b"], b"1", [b"a"]),
    ]
    for name, lines, code, want in cases:
        eq("search: " + name, pages(CRLF + CRLF.join(lines) + CRLF, code)[0], want)
    numbers = CRLF + CRLF.join(b"1 %d" % i for i in range(31)) + CRLF
    eq("search: 30 to a page", [len(p) for p in pages(numbers, b"1")], [30, 1])


# --- harness ------------------------------------------------------------------

RESULTS = []


def check(name, ok, detail=""):
    RESULTS.append(ok)
    if not ok:
        print("FAIL %s %s" % (name, detail))


def eq(name, got, want):
    check(name, got == want, "\n  got  %r\n  want %r" % (got, want))


def read(root, rel):
    with open(os.path.join(root, "data", rel), "rb") as f:
        return f.read()


def items(text):
    return [g(c) for c in text.split()]


# --- built-in tables ------------------------------------------------------------

BUILTIN_SIZES = [
    # file, lines, bytes
    ("componentList.txt", 370, 2592),
    ("commonCharacterList.txt", 100, 702),
    ("strokeComponentTable.txt", 387, 4506),
]

FE51, FE53, FE59 = "\U00020087", "\U000200CC", "\u9FB4"

GRID_PAGES = [
    # file, code, page number (1-based), exact items
    ("componentList.txt", b"as", 1,
     "土 木 宀 人 %s 讠 纟 女 忄 阝 弓 尸 马 孑 又 力 厶 %s 了 冫 礻 衤 冖 门 囗 日 禾 月 犭 彳" % (FE51, FE59)),
    ("commonCharacterList.txt", b"as", 1,
     "的 一 是 了 不 在 有 人 上 这 大 我 国 来 们 和 个 他 中 说 到 地 为 以 子 小 就 时 全 可"),
    ("componentCodeTable.txt", g("白") + b"35", 1, "的 皗 皃 皀 旣 卽"),
]

STRIP_PAGES = [
    # code, page, exact items
    (b"1", 1, "一 十 艹 扌 土 木 %s 王 车 雨 士 歹 石 匚 厂 酉 不 正" % FE51),
    (b"12", 1, "十 艹 扌 土 木 雨 士 酉 正 覀 镸 工 耳 五 亚 丁 馬 車"),
]

PAGE_COUNTS = [
    # file, code, per page, page sizes
    ("commonCharacterList.txt", b"as", 30, [30, 30, 30, 10]),
    ("componentCodeTable.txt", g("白") + b"35", 30, [6]),
    ("strokeComponentTable.txt", b"25", 18, [18, 18, 2]),
    ("strokeComponentTable.txt", b"1", 18, [18] * 7 + [6]),
]

TABLE_STARTS = [
    ("componentList.txt", ["as 土", "as 木", "as 宀", "as 人", "as " + FE51]),
    ("commonCharacterList.txt", ["as 的", "as 一", "as 是", "as 了", "as 不"]),
    ("strokeComponentTable.txt", ["11111 一", "22222 丨", "33333 丿", "55555 乛"]),
    ("componentCodeTable.txt", ["白354 的", "一1111 一", "是 是", "了222 了", "不4 不"]),
]

TABLE_ENDS = [
    ("componentList.txt", ["as " + c for c in "兹兼矛糹奴"]),
    ("commonCharacterList.txt", ["as " + c for c in "又问法从本定见两"]),
]

STROKE_ROWS = ["11111 一", "22222 丨", "12222 十", "25111 口", "34444 人", "44444 丶",
               "12111 扌", "12111 土", "55555 乛", "55555 " + FE53, "55555 乙"]


def check_builtin(root):
    tables = {}
    for name in ("componentList.txt", "commonCharacterList.txt",
                 "strokeComponentTable.txt", "componentCodeTable.txt"):
        data = read(root, "builtin/" + name)
        tables[name] = data
        check(name + " begins and ends with CR LF", data.startswith(CRLF) and data.endswith(CRLF))
        lines = data[2:-2].split(CRLF)
        check(name + " has no empty line", all(lines))
        check(name + " lines are key, space, one character",
              all(re.fullmatch(rb"[^ ]+ [\x81-\xfe][\x40-\xfe]", l) for l in lines))
    for name, nlines, nbytes in BUILTIN_SIZES:
        data = tables[name]
        eq(name + " lines", len(data[2:-2].split(CRLF)), nlines)
        eq(name + " bytes", len(data), nbytes)
    for name, want in TABLE_STARTS:
        got = tables[name][2:].split(CRLF)[:len(want)]
        eq(name + " first rows", got, [g(w) for w in want])
    for name, want in TABLE_ENDS:
        got = tables[name][2:-2].split(CRLF)[-len(want):]
        eq(name + " last rows", got, [g(w) for w in want])
    for name in ("componentList.txt", "commonCharacterList.txt"):
        lines = tables[name][2:-2].split(CRLF)
        check(name + " every line keyed as", all(l.startswith(b"as ") for l in lines))
        check(name + " no item twice", len(set(lines)) == len(lines))
    for name, code, page, want in GRID_PAGES:
        eq("%s page %d of %r" % (name, page, code), pages(tables[name], code)[page - 1], items(want))
    for name, code, per, sizes in PAGE_COUNTS:
        got = [len(p) for p in pages(tables[name], code, per, per == 30)]
        eq("%s page sizes for %r" % (name, code), got, sizes)
    stc = tables["strokeComponentTable.txt"]
    for code, page, want in STRIP_PAGES:
        eq("strip page %d of %r" % (page, code), strip_pages(stc, code)[page - 1], items(want))
    rows = stc[2:-2].split(CRLF)
    for row in STROKE_ROWS:
        check("strokeComponentTable holds %s" % row, g(row) in rows)
    check("strokeComponentTable codes are 5 to 17 strokes",
          all(re.fullmatch(rb"[1-5]{5,17}", r.split(b" ")[0]) for r in rows))
    # component code table: every GBK character, keys = component + digits
    cct = tables["componentCodeTable.txt"]
    rows = cct[2:-2].split(CRLF)
    chars = {r.split(b" ")[1] for r in rows}
    hanzi = {chr(c).encode("gbk") for c in range(0x4E00, 0x9FA6)}
    eq("componentCodeTable covers every GBK character", len(hanzi - chars), 0)
    check("componentCodeTable keys are a component and stroke digits",
          all(re.fullmatch(rb"[\x81-\xfe][\x40-\xfe][1-5]*", r.split(b" ")[0]) for r in rows))
    for row in ("是 是", "来 来"):
        check("componentCodeTable holds " + row, g(row) in rows)
    kou = pages(cct, g("口") + b"1")[0]
    eq("口1 page 1 is full", len(kou), 30)
    eq("口1 page 1 begins", kou[:8], items("口 号 味 叶 吴 呀 呆 喊"))
    # the strip text
    strip = "一 丨 丿 丶 乛 %s 乙 ⺈ 十 亠 %s 丷 亻 口 艹 扌 氵 " % (FE53, "\U00020089")
    want = b"".join(g(c) + b" " for c in strip.split())
    eq("basicStrokeStrip", read(root, "builtin/basicStrokeStrip.txt"), want)
    eq("basicStrokeStrip bytes", len(want), 51)
    # glibc's GB18030 converter is the reference for the FE block components
    try:
        import subprocess
        text = subprocess.run(["iconv", "-f", "GB18030", "-t", "UTF-8"],
                              input=tables["componentList.txt"], capture_output=True,
                              check=True).stdout.decode("utf-8")
        fe = [c for c in text if ord(c) > 0xFFFF or 0x9FB4 <= ord(c) <= 0x9FBB]
        eq("FE block components of the start list (iconv)",
           sorted(fe), sorted("\U00020087\u9FB4\u9FB5\U0002298F\u9FB9\u9FBA"))
    except (OSError, subprocess.CalledProcessError) as e:
        check("iconv reads componentList", False, str(e))
    # components of the start list are the ones the code table files under
    comps = {l[3:] for l in tables["componentList.txt"][2:-2].split(CRLF)}
    used = {r.split(b" ")[0][:2] for r in rows}
    check("every start-list component files some character", comps <= used,
          repr([gb(c) for c in comps - used]))


def gb(b):
    return b.decode("gbk", "replace")


# --- 词库 ---------------------------------------------------------------------

CIKU = [
    # file, key pattern, must cover all of GBK
    ("笔画.txt", rb"[1-5]+", True),
    ("附加笔画.txt", rb"[0-9]+", True),
    ("四角号码.txt", rb"[0-9]{4,5}", False),
    ("联想词.txt", rb"[\x81-\xfe][\x40-\xfe]", False),
    ("字典/拼音.txt", rb"[a-z]{1,20}", False),
    ("字典/五笔.txt", rb"[a-z]{1,20}", False),
    ("字典/仓颉.txt", rb"[a-z]{1,20}", False),
]


def valid_gbk(b):
    i = 0
    while i < len(b):
        if b[i] < 0x80:
            i += 1
            continue
        if i + 1 >= len(b) or not (0x81 <= b[i] <= 0xFE and 0x40 <= b[i + 1] <= 0xFE
                                   and b[i + 1] != 0x7F):
            return False
        if b[i] != 0xFE:
            try:
                b[i:i + 2].decode("gbk")
            except UnicodeDecodeError:
                return False
        i += 2
    return True


def check_ciku(root):
    hanzi = {chr(c).encode("gbk") for c in range(0x4E00, 0x9FA6)}
    loaded = {}
    for name, keypat, full in CIKU:
        data = read(root, "词库/" + name)
        check(name + " begins with CR LF", data.startswith(CRLF))
        check(name + " does not end in an empty line", not data.endswith(CRLF))
        check(name + " has no lone CR or LF",
              data.count(b"\r") == data.count(b"\n") == data.count(CRLF))
        lines = data[2:].split(CRLF)
        loaded[name] = lines
        check(name + " lines at most 198 bytes", max(len(l) for l in lines) <= 198)
        check(name + " one space per line", all(l.count(b" ") == 1 for l in lines))
        check(name + " is GBK", valid_gbk(data))
        valpat = rb"(?:[\x81-\xfe][\x40-\xfe])+" if name == "联想词.txt" else rb"[\x81-\xfe][\x40-\xfe]"
        bad = [l for l in lines if not re.fullmatch(keypat + b" " + valpat, l)]
        check(name + " line form", not bad, repr(bad[:3]))
        if full:
            chars = {l.split(b" ")[1] for l in lines}
            eq(name + " covers GBK", len(hanzi - chars), 0)
    eq("字典.txt names 拼音", read(root, "词库/字典.txt"), g("拼音"))
    # the panel appends CR LF on loading; the first line is then found too
    stroke = read(root, "词库/笔画.txt") + CRLF
    eq("笔画 code 1 first page begins with 一", pages(stroke, b"1")[0][:1], [g("一")])
    first = loaded["笔画.txt"]
    eq("笔画 first row is the most frequent character", first[0], g("32511354 的"))
    check("笔画 has alternative orders (必)", g("45434 必") in first and g("45443 必") in first)
    codes = {}
    for l in first:
        k, v = l.split(b" ")
        codes.setdefault(v, k)
    eq("笔画 mainland order of 的", codes[g("的")], b"32511354")
    eq("笔画 mainland order of 出", codes[g("出")], b"52252")
    assoc = read(root, "词库/联想词.txt") + CRLF
    hints = [l for l in assoc.split(CRLF) if re.fullmatch(re.escape(g("的")) + rb" ..", l, re.S)]
    check("联想词 gives 的 eight word hints", len(hints) >= 8)
    eq("附加笔画 口 is 0", [l for l in loaded["附加笔画.txt"] if l.endswith(b" " + g("口"))], [g("0 口")])
    check("附加笔画 木 is 十 and 八", g("69 木") in loaded["附加笔画.txt"])
    check("拼音 dictionary has both readings of 行",
          g("xing 行") in loaded["字典/拼音.txt"] and g("hang 行") in loaded["字典/拼音.txt"])
    check("五笔 full code of 的", g("rqyy 的") in loaded["字典/五笔.txt"])
    check("仓颉 code of 的", g("hapi 的") in loaded["字典/仓颉.txt"])


def check_pinyin(root):
    text = read(root, "pinyin.txt").decode("utf-8")
    check("pinyin.txt uses LF", "\r" not in text and text.endswith("\n"))
    lines = text[:-1].split("\n")
    chars = [l.split("\t")[0] for l in lines]
    check("pinyin.txt in GBK order", chars == sorted(chars, key=lambda c: c.encode("gbk")))
    check("pinyin.txt one line per character", len(set(chars)) == len(chars))
    check("pinyin.txt covers nearly all of GBK", len(chars) > 20800, len(chars))
    rows = dict(l.split("\t") for l in lines)
    eq("pinyin of 的, most common first", rows["的"].split()[0], "de")
    eq("pinyin of 行", rows["行"].split()[:2], ["xíng", "háng"])
    check("pinyin readings are single-spaced",
          all(re.fullmatch(r"\S+( \S+)*", v) for v in rows.values()))


# --- pictures and icons ---------------------------------------------------------

PICTURES = "heng shu pie dian zhe shi shou kou chang ba xiao tou yi ring".split()

ICONS = [
    # file, bytes, size, bits per pixel
    ("lumiko.ico", 4286, 32, 32),
    ("backspace.ico", 894, 16, 24),
    ("space.ico", 894, 16, 24),
    ("enter.ico", 894, 16, 24),
]


def check_pictures(root):
    seen = {}
    for name in PICTURES:
        b = read(root, "pictures/%s.bmp" % name)
        eq(name + ".bmp size", len(b), 54 + 32 * 32 * 3)
        magic, size, _, _, off = struct.unpack("<2sIHHI", b[:14])
        hs, w, h, planes, bpp, comp = struct.unpack("<IiiHHI", b[14:34])
        eq(name + ".bmp header", (magic, size, off, hs, w, h, planes, bpp, comp),
           (b"BM", len(b), 54, 40, 32, 32, 1, 24, 0))
        px = b[54:]
        check(name + ".bmp white corners", px[:3] == b"\xff\xff\xff" and px[-3:] == b"\xff\xff\xff")
        check(name + ".bmp has black ink", px.count(b"\x00\x00\x00") >= 8)
        check(name + ".bmp is grey only", all(px[i] == px[i + 1] == px[i + 2] for i in range(0, len(px), 3)))
        seen.setdefault(b, []).append(name)
    eq("pictures all differ", len(seen), len(PICTURES))
    for name, nbytes, size, bpp in ICONS:
        b = read(root, "icons/" + name)
        eq(name + " bytes", len(b), nbytes)
        eq(name + " header", struct.unpack("<HHH", b[:6]), (0, 1, 1))
        w, h, _, _, planes, bits, length, off = struct.unpack("<BBBBHHII", b[6:22])
        eq(name + " entry", (w, h, planes, bits, length, off), (size, size, 1, bpp, nbytes - 22, 22))
        hs, dw, dh, _, dbpp = struct.unpack("<IiiHH", b[22:38])
        eq(name + " image", (hs, dw, dh, dbpp), (40, size, 2 * size, bpp))


def main():
    root = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "..")
    for part in (check_search, check_builtin, check_ciku, check_pinyin, check_pictures):
        try:
            part(root)
        except Exception as e:  # a missing file or a broken format
            check(part.__name__, False, "%s: %s" % (type(e).__name__, e))
    failed = RESULTS.count(False)
    print("%d passed, %d failed" % (len(RESULTS) - failed, failed))
    sys.exit(1 if failed else 0)


if __name__ == "__main__":
    main()
