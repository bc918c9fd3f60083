"""The character model every table is written from: the GBK character set,
stroke codes, the frequency order, decompositions and the component
inventory of the stroke mode."""

import re

import gbk
import sources

# Stroke codes of components the stroke dictionary does not list.
EXTRA_STROKES = {"⺈": "35", "⺌": "243"}

# The start list of four-corner and extra-stroke mode opens with these 30
# characters and closes with the last 8; the rows in between follow the
# frequency order below.  The same 100 characters head the frequency order, so
# every table that runs from the most to the least frequent character begins
# the way the start list does.
COMMON_HEAD = "的一是了不在有人上这大我国来们和个他中说到地为以子小就时全可"
COMMON_TAIL = "又问法从本定见两"

# The component start list of stroke mode: its first page and its last rows.
COMPONENT_HEAD = ("土木宀人\U00020087讠纟女忄阝弓尸马孑又力厶\u9FB4了冫礻衤冖门"
                  "囗日禾月犭彳")
COMPONENT_TAIL = "兹兼矛糹奴"

# The hint strip of stroke mode before any key is pressed.
BASIC_STRIP = "一丨丿丶乛\U000200CC乙⺈十亠\U00020089丷亻口艹扌氵"


def pad5(code):
    """A code shorter than five strokes is padded with its last stroke."""
    return code + code[-1] * (5 - len(code)) if len(code) < 5 else code


class Model:
    def __init__(self):
        self.hanzi = gbk.gbk_hanzi()
        self.hanzi_set = set(self.hanzi)
        self.gb2312 = {c for c in self.hanzi if gbk.is_gb2312(c)}
        self.strokes_all = sources.stroke_codes()
        self.decomp = sources.cjk_decomp()
        uh = sources.unihan(["kTotalStrokes", "kFrequency", "kFourCornerCode",
                             "kMandarin", "kHanyuPinyin", "kXHC1983", "kHanyuPinlu"])
        self.unihan = uh
        self.char_weight, self.word_weight = sources.pinyin_simp_weights()
        self._stroke_cache = {}
        self._chain_cache = {}
        self._rank_chars()

    # -- strokes ----------------------------------------------------------
    def code(self, ch):
        """The mainland stroke code of a character or component, or None."""
        if ch in EXTRA_STROKES:
            return EXTRA_STROKES[ch]
        e = self.strokes_all.get(ch)
        if e:
            return e[0][0]
        return self._derived_code(ch)

    def codes(self, ch):
        """Mainland code first, then well-attested alternative orders: other
        codes that hold the same strokes in another order (a code with other
        strokes stems from another glyph shape, not another order)."""
        e = self.strokes_all.get(ch)
        if not e:
            c = self.code(ch)
            return [c] if c else []
        main = e[0][0]
        out = [main]
        for c in e[0][1:] + e[1]:
            if c not in out and sorted(c) == sorted(main):
                out.append(c)
        return out

    def parts(self, node):
        """The parts of a node in their listed order, a repeated part
        written out as often as it repeats (吅 is 口 口, 品 is 口 吅 ... as
        the data has it); [] for shapes whose parts are not laid side by
        side (modified, reflected or rotated shapes)."""
        d = self.decomp.get(node)
        if not d or not d[1]:
            return []
        kind = d[0].split("/")[0]
        if kind.startswith(("m", "ref", "rref", "rrot", "rot")):
            return []
        rep = re.fullmatch(r"r([2-5]?)(a|d|tr|sq|dia|gw)", kind)
        if rep and len(d[1]) == 1:
            return d[1] * int(rep.group(1) or 2)
        if kind.startswith("r"):
            return []
        return list(d[1])

    def _derived_code(self, node):
        """Stroke code of a decomposition node that is not a listed character:
        its parts' codes in order."""
        if node in self._stroke_cache:
            return self._stroke_cache[node]
        self._stroke_cache[node] = None
        result = None
        parts = [self.code(p) for p in self.parts(node)]
        if parts and all(parts):
            result = "".join(parts)
        self._stroke_cache[node] = result
        return result

    # -- decomposition ----------------------------------------------------
    def chain(self, ch):
        """The components a writer draws first, from the largest down: the
        part of ch whose strokes begin ch's stroke code, then that part's
        first part, and so on."""
        if ch in self._chain_cache:
            return self._chain_cache[ch]
        self._chain_cache[ch] = []
        out = []
        code = self.code(ch)
        if code:
            for part in self.parts(ch):
                pc = self.code(part)
                if pc and pc != code and code.startswith(pc):
                    out = [part] + self.chain(part)
                    break
        self._chain_cache[ch] = out
        return out

    # -- frequency --------------------------------------------------------
    def _rank_chars(self):
        """Frequency order of the 20,902 characters: the start list's 100
        first; then, for GB2312 characters, the text frequency of Unihan's
        kHanyuPinlu (counts of the frequency dictionary of modern Chinese,
        summed over readings); then the weight of the character in the
        word-frequency dictionary (its own weight plus that of every word it
        occurs in); then GB2312 characters before the others; then Unihan's
        kFrequency class; then GBK code order."""
        pinlu = {}
        for c, v in self.unihan["kHanyuPinlu"].items():
            if c in self.gb2312:
                pinlu[c] = sum(int(x) for x in re.findall(r"\((\d+)\)", v))
        score = dict(self.char_weight)
        for w, n in self.word_weight.items():
            for ch in w:
                score[ch] = score.get(ch, 0) + n
        pinned = list(COMMON_HEAD)
        rest = [c for c in self.hanzi if c not in set(COMMON_HEAD + COMMON_TAIL)]

        def key(c):
            kf = self.unihan["kFrequency"].get(c)
            return (-pinlu.get(c, 0), -score.get(c, 0), c not in self.gb2312, int(kf) if kf else 9,
                    gbk.encode_char(c))
        rest.sort(key=key)
        middle = 100 - len(COMMON_HEAD) - len(COMMON_TAIL)
        self.common100 = pinned + rest[:middle] + list(COMMON_TAIL)
        self.by_freq = self.common100 + rest[middle:]
        self.rank = {c: i for i, c in enumerate(self.by_freq)}
        self.score = score
