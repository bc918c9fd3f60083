"""Coverage report over the written data files."""

import os
import re

import gbk
import model


def _lines(path):
    with open(path, "rb") as f:
        data = f.read()
    out = []
    for raw in data.split(b"\r\n"):
        if not raw:
            continue
        key, _, value = raw.partition(b" ")
        out.append((gbk.decode(key), gbk.decode(value)))
    return out


def run(root):
    m = model.Model()
    hanzi, gb2312 = m.hanzi_set, m.gb2312
    d = os.path.join(root, "data")
    files = [
        ("词库/笔画.txt", "strokes"), ("词库/附加笔画.txt", "extra strokes"),
        ("词库/四角号码.txt", "four corner"), ("词库/联想词.txt", "associations (key)"),
        ("词库/字典/拼音.txt", "pinyin dictionary"), ("词库/字典/五笔.txt", "wubi 86"),
        ("词库/字典/仓颉.txt", "cangjie 5"), ("builtin/componentCodeTable.txt", "componentCodeTable"),
    ]
    print("%-22s %8s %14s %13s" % ("table", "lines", "GBK 20,902", "GB2312 6,763"))
    loaded = {}
    for rel, name in files:
        lines = _lines(os.path.join(d, rel))
        loaded[rel] = lines
        chars = {v for k, v in lines} if "联想词" not in rel else {k for k, v in lines}
        print("%-22s %8d %14d %13d" % (name, len(lines), len(chars & hanzi), len(chars & gb2312)))

    strokes = loaded["词库/笔画.txt"]
    first = {}
    for code, ch in strokes:
        first.setdefault(ch, code)
    total = m.unihan["kTotalStrokes"]
    bad = [ch for ch, code in first.items()
           if str(len(code)) not in total.get(ch, "").split()]
    alt = len(strokes) - len(first)
    print()
    print("stroke codes whose length differs from Unihan kTotalStrokes: %d" % len(bad))
    print("characters with alternative stroke orders in 笔画.txt: %d (%d extra lines)"
          % (sum(1 for n in _counts(strokes).values() if n > 1), alt))
    print("stroke codes longer than 20 strokes (not found by reverse lookup): %d"
          % sum(1 for code in first.values() if len(code) > 20))
    pairs = {}
    for k, v in loaded["词库/联想词.txt"]:
        if len(v) == 1:
            pairs[k] = pairs.get(k, 0) + 1
    top = m.by_freq[:3000]
    print("of the 3,000 most frequent characters, with >= 8 two-character words: %d"
          % sum(1 for c in top if pairs.get(c, 0) >= 8))
    print("two-character words in 联想词.txt: %d" % sum(pairs.values()))
    for rel in ("builtin/componentList.txt", "builtin/commonCharacterList.txt",
                "builtin/strokeComponentTable.txt", "builtin/componentCodeTable.txt",
                "builtin/basicStrokeStrip.txt"):
        with open(os.path.join(d, rel), "rb") as f:
            data = f.read()
        n = len([l for l in data.split(b"\r\n") if l])
        lines = "%6d lines" % n if "Strip" not in rel else "%12s" % "(no lines)"
        print("%-34s %s %8d bytes" % (rel, lines, len(data)))
    comps = {re.sub(r"[0-9]+$", "", k) for k, _ in loaded["builtin/componentCodeTable.txt"]}
    selfs = sum(1 for k, v in loaded["builtin/componentCodeTable.txt"] if k == v)
    print("componentCodeTable: %d different components, %d lines filed under themselves"
          % (len(comps), selfs))


def _counts(lines):
    out = {}
    for _, ch in lines:
        out[ch] = out.get(ch, 0) + 1
    return out
