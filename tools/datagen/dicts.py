"""The files of the 词库 folder and the pinyin readings."""

import re
import unicodedata

import gbk
import sources

# Extra-stroke keypad: the digits 1 to 5 are the basic strokes; these five
# shapes are one key each wherever they stand as a component.
EXTRA_SHAPES = {"十": "6", "小": "7", "乂": "8", "八": "9", "口": "0"}


def table_file(lines):
    """A 词库 table: each line preceded by CR LF, so that the first line is
    found by the search as well; no line break at the end (the panel appends
    one when it loads the file)."""
    out = bytearray()
    for key, value in lines:
        line = gbk.encode(key + " " + value)
        assert len(line) <= 198 and line.count(b" ") == 1, line
        out += b"\r\n" + line
    return bytes(out)


def stroke_lines(m):
    return [(code, ch) for ch in m.by_freq for code in m.codes(ch)]


def extra_stroke_code(m, node, _memo={}):
    """The extra-stroke code of a character.

    The character is taken apart along its decomposition.  A part that is
    one of the five shapes 十 小 乂 八 口 is written as that shape's digit;
    every other part is taken apart further, down to parts that have no
    decomposition, which are written as their strokes.  A split is only
    followed when the parts' strokes, one part after the other, are exactly
    the character's strokes (in the listed order or the reverse one), so the
    code always runs in writing order; otherwise the whole part is written
    as its strokes.  The shapes stand for themselves too: 口 is 0."""
    key = id(m), node
    if key in _memo:
        return _memo[key]
    _memo[key] = None
    result = EXTRA_SHAPES.get(node)
    code = m.code(node)
    if result is None and code:
        result = code
        parts = m.parts(node)
        if len(parts) >= 2:
            codes = [m.code(p) for p in parts]
            if all(codes):
                for order in (parts, parts[::-1]):
                    if "".join(m.code(p) for p in order) == code:
                        subs = [extra_stroke_code(m, p) for p in order]
                        if all(subs):
                            result = "".join(subs)
                        break
    _memo[key] = result
    return result


def extra_stroke_lines(m):
    return [(extra_stroke_code(m, ch), ch) for ch in m.by_freq]


def four_corner_lines(m):
    """Four digits, and the supplementary corner as a fifth where Unihan
    gives one; a character with several codes stands under each."""
    lines = []
    for ch in m.by_freq:
        seen = []
        for v in m.unihan["kFourCornerCode"].get(ch, "").split():
            mt = re.fullmatch(r"(\d{4})(?:\.(\d))?", v)
            if not mt:
                continue
            key = mt.group(1) + (mt.group(2) or "")
            if key not in seen:
                seen.append(key)
                lines.append((key, ch))
    return lines


def association_lines(m):
    """For every character, the words of two to four characters that begin
    with it: the character as key, the rest of the word as value.

    Words come from three word lists: the pinyin dictionary's weighted
    words, the Wubi table's weighted words and the word splitter's lexicon.
    Order within a character: two-character words first (the word hints show
    only those), each group by the pinyin dictionary's weight, then by the
    Wubi table's weight, then by how frequent the following characters are."""
    wubi = sources.wubi86_words()
    words = set(m.word_weight) | set(wubi) | set(sources.friso_words())
    by_first = {}
    for w in words:
        if not 2 <= len(w) <= 4 or not all(c in m.hanzi_set for c in w):
            continue
        key = (len(w) > 2, -m.word_weight.get(w, 0), -wubi.get(w, 0),
               [m.rank[c] for c in w[1:]], w)
        by_first.setdefault(w[0], []).append(key)
    lines = []
    for ch in m.by_freq:
        for key in sorted(by_first.get(ch, [])):
            lines.append((ch, key[-1][1:]))
    return lines


# --- readings --------------------------------------------------------------

def readings(m, ch):
    """Readings with tone marks, the most common first: kMandarin, then the
    further readings of kHanyuPinyin and kXHC1983."""
    out = []
    for field in ("kMandarin", "kHanyuPinyin", "kXHC1983"):
        for item in m.unihan[field].get(ch, "").split():
            vals = item.split(":", 1)[-1]
            for r in vals.split(","):
                if r and r not in out:
                    out.append(r)
    return out


def toneless(reading):
    s = unicodedata.normalize("NFD", reading.replace("ü", "v").replace("Ü", "v"))
    s = "".join(c for c in s if not unicodedata.combining(c))
    s = s.lower()
    return s if re.fullmatch(r"[a-z]{1,20}", s) else None


def pinyin_dict_lines(m):
    lines = []
    for ch in m.by_freq:
        seen = []
        for r in readings(m, ch):
            t = toneless(r)
            if t and t not in seen:
                seen.append(t)
                lines.append((t, ch))
    return lines


def wubi_lines(m):
    """Wubi 86 full codes: every character's longest codes."""
    codes = {}
    for ch, code in sources.wubi86():
        if ch in m.hanzi_set and re.fullmatch(r"[a-y]{1,4}", code):
            codes.setdefault(ch, []).append(code)
    lines = []
    for ch in m.by_freq:
        cs = codes.get(ch)
        if not cs:
            continue
        top = max(len(c) for c in cs)
        for c in dict.fromkeys(c for c in cs if len(c) == top):
            lines.append((c, ch))
    return lines


def cangjie_lines(m):
    """Cangjie 5 codes; codes beginning with x are the table's lookup aids
    for hard characters, not codes of the character, and are left out."""
    codes = {}
    for ch, code in sources.cangjie5():
        if ch in m.hanzi_set and re.fullmatch(r"[a-wyz][a-z]{0,4}", code):
            codes.setdefault(ch, []).append(code)
    return [(c, ch) for ch in m.by_freq for c in dict.fromkeys(codes.get(ch, []))]


def pinyin_text(m):
    """data/pinyin.txt: UTF-8, character TAB readings, in GBK code order."""
    out = []
    for ch in m.hanzi:
        rs = readings(m, ch)
        if rs:
            out.append(ch + "\t" + " ".join(rs) + "\n")
    return "".join(out).encode("utf-8")
