"""The four built-in tables of the panel and the basic stroke strip.

componentList        start list of stroke mode ("as" + component)
commonCharacterList  start list of four-corner and extra-stroke mode
strokeComponentTable stroke code (padded to five) -> component, for the strip
componentCodeTable   component + remaining strokes -> character

How a character is filed in componentCodeTable: its component is the one a
writer draws first (the first part of its decomposition whose strokes begin
the character's stroke code, taken as large as the inventory allows; a
character that is itself in the inventory is its own component).  Its stroke
code is padded to five strokes with its last stroke, and the component's
strokes are taken off the front; what is left follows the component in the
key ("白354 的", "一1111 一", "了222 了", "不4 不", "是 是").
"""

import collections

import gbk
import pagesearch
from model import (BASIC_STRIP, COMPONENT_HEAD, COMPONENT_TAIL, pad5)

COMPONENT_LIST_LINES = 370
STROKE_TABLE_LINES = 387
STROKE_TABLE_BYTES = 4506
STRIP_CODE1_LINES = 7 * 18 + 6      # strip pages for the code 1
STRIP_CODE25_LINES = 18 + 18 + 2    # strip pages for the code 25

# The strip table opens with the four single strokes; then the components
# whose code begins with 1, in the order the strip shows them for the codes
# 1 and 12, come first among the components.
STROKE_TABLE_HEAD = ["一", "丨", "丿", "乛"]
STRIP_CODE1_HEAD = ("十艹扌土木\U00020087王车雨士歹石匚厂酉不正"
                    "覀镸工耳五亚丁馬車")
# Strokes that share a code with another stroke shape, listed right after it.
SHARED_CODE = {"乛": ["\U000200CC", "乙"]}

# Characters the component table is expected to file under themselves.
FORCED_COMPONENTS = "是不来"
# Of the components that GBK has only in its FE block, the start list holds
# these six (FE51, FE59, FE61, FE76, FE7E, FE90).
FE_COMPONENTS = "\U00020087\u9FB4\u9FB5\U0002298F\u9FB9\u9FBA"

# The component lookup 白 + 35 must give exactly these characters, in this
# order (the data files 鬼 and other 白-initial characters under 白 too, and
# ranks 皗 after 皃 and 皀); and 口 + 1 opens with the next eight.
BAI35 = "的皗皃皀旣卽"
KOU1_HEAD = "口号味叶吴呀呆喊"
# ... so none of those characters may be a component of its own.
NOT_COMPONENTS = set(KOU1_HEAD[1:] + BAI35)


def crlf_table(lines):
    """Built-in table text: begins and ends with CR LF."""
    return b"\r\n" + b"\r\n".join(gbk.encode(l) for l in lines) + b"\r\n"


def component_scores(m):
    """How often each component is the one drawn first, GB2312 characters
    counting four times as much as the rest."""
    score = collections.Counter()
    for c in m.hanzi:
        w = 4 if c in m.gb2312 else 1
        for x in m.chain(c):
            if len(x) == 1 and gbk.is_gbk(x) and m.code(x):
                score[x] += w
    return score


def build_component_list(m, score):
    fixed = set(COMPONENT_HEAD + COMPONENT_TAIL)
    middle = [c for c in FORCED_COMPONENTS + FE_COMPONENTS if c not in fixed]
    ranked = sorted(score, key=lambda x: (-score[x], gbk.encode_char(x)))
    want = COMPONENT_LIST_LINES - len(COMPONENT_HEAD) - len(COMPONENT_TAIL)
    for x in ranked:
        if len(middle) == want:
            break
        if x in fixed or x in middle or len(m.code(x)) < 2:
            continue
        if gbk.encode_char(x)[0] == 0xFE and x not in FE_COMPONENTS:
            continue
        middle.append(x)
    middle.sort(key=lambda x: (-score.get(x, 0), gbk.encode_char(x)))
    items = list(COMPONENT_HEAD) + middle + list(COMPONENT_TAIL)
    assert len(items) == len(set(items)) == COMPONENT_LIST_LINES
    return items


def build_stroke_component_table(m, score, component_list):
    """387 lines, the strip pages of the codes 1, 12 and 25 as the panel
    shows them, and 4,506 bytes: the lines are chosen group by group (codes
    beginning with 1, with 25, and the rest) from the components the panel
    offers, most used first, and the choice within a group is then evened
    out so that the codes add up to the table's size."""
    head = []
    for c in STROKE_TABLE_HEAD:
        head.append((pad5(m.code(c)), c))
        for s in SHARED_CODE.get(c, []):
            head.append((pad5(m.code(c)), s))
    head += [(pad5(m.code(c)), c) for c in STRIP_CODE1_HEAD]
    taken = {(k, v) for k, v in head}

    def group(code):
        return "1" if code.startswith("1") else "25" if code.startswith("25") else "x"

    quota = {"1": STRIP_CODE1_LINES, "25": STRIP_CODE25_LINES}
    quota["x"] = STROKE_TABLE_LINES - quota["1"] - quota["25"]
    for k, _ in head:
        quota[group(k)] -= 1

    # candidates: the strip's shapes, then the start list, then other
    # components by use; a component's alternative order comes last.
    order = list(BASIC_STRIP) + [c for c in component_list]
    order += sorted((x for x in score if x not in set(order)),
                    key=lambda x: (-score[x], gbk.encode_char(x)))
    cands = []
    for c in order:
        if not m.code(c) or c in NOT_COMPONENTS or len(m.code(c)) > 17:
            continue
        cands.append((pad5(m.code(c)), c))
    for c in component_list:
        for alt in m.codes(c)[1:]:
            cands.append((pad5(alt), c))
    chosen = {"1": [], "25": [], "x": []}
    spare = {"1": [], "25": [], "x": []}
    seen = set(taken)
    for line in cands:
        if line in seen:
            continue
        seen.add(line)
        g = group(line[0])
        (chosen[g] if len(chosen[g]) < quota[g] else spare[g]).append(line)
    for g in quota:
        assert len(chosen[g]) == quota[g], g

    def size(lines):
        return 2 + sum(len(k) + 1 + 2 + 2 for k, _ in lines)

    all_lines = head + chosen["1"] + chosen["25"] + chosen["x"]
    excess = size(all_lines) - STROKE_TABLE_BYTES
    # Even out: swap the least used chosen line of a group for a spare line
    # of the same group whose code is shorter (or longer) by the needed amount.
    for g in ("x", "1", "25"):
        i = len(chosen[g]) - 1
        while excess != 0 and i >= 0:
            k, v = chosen[g][i]
            best = None
            for j, (k2, v2) in enumerate(spare[g]):
                d = len(k) - len(k2)
                if d != 0 and abs(excess - d) < abs(excess) and (0 < d <= excess or excess <= d < 0):
                    best = j
                    break
            if best is not None:
                new = spare[g].pop(best)
                excess -= len(k) - len(new[0])
                chosen[g][i] = new
            i -= 1
    assert excess == 0, excess
    # Table order: the fixed head, then every other line by use.
    rest = chosen["1"] + chosen["25"] + chosen["x"]
    pos = {c: i for i, c in enumerate(order)}
    rest.sort(key=lambda kv: (pos.get(kv[1], len(pos)), kv[0]))
    lines = head + rest
    assert len(lines) == STROKE_TABLE_LINES
    return lines


def _without(code, part):
    """code with the strokes of an enclosing part taken out: the part's
    strokes begin and end the code (土 and 戈 of 𢦏 around the 木 of 栽);
    its first strokes are taken as many as possible.  None when the part
    does not fit so."""
    for k in range(len(part) - 1, 0, -1):
        if len(code) > len(part) and code.startswith(part[:k]) and code.endswith(part[k:]):
            return code[k:len(code) - (len(part) - k)]
    return None


def component_for(m, ch, inventory):
    """(component, remaining strokes) of a character."""
    code = pad5(m.code(ch))
    if ch in inventory:
        return ch, code[len(m.code(ch)):]
    for x in m.chain(ch):
        if x in inventory and code.startswith(m.code(x)):
            return x, code[len(m.code(x)):]
    # A component that encloses the rest (𢦏 of 栽, with 木 written inside
    # it): its strokes are taken off both ends.
    for x in m.parts(ch)[:1]:
        if x in inventory and m.code(x):
            rest = _without(code, m.code(x))
            if rest is not None:
                return x, rest
    # No decomposition leads to an inventory part: take the largest
    # inventory component whose strokes begin the character's code.
    for x in _by_size(m, inventory):
        if code.startswith(m.code(x)):
            return x, code[len(m.code(x)):]
    return None


_SIZED = {}


def _by_size(m, inventory):
    """Inventory components with a stroke code, the longest code first
    (ties in GBK order)."""
    key = frozenset(inventory)
    if key not in _SIZED:
        _SIZED[key] = sorted((x for x in inventory if m.code(x)),
                             key=lambda x: (-len(m.code(x)), gbk.encode_char(x)))
    return _SIZED[key]


def search(lines, code, limit=None):
    """Values the panel finds for a code over a list of (key, value) lines,
    the first `limit` of them (all without a limit)."""
    table = crlf_table("%s %s" % line for line in lines)
    items, _ = pagesearch.build_page(table, gbk.encode(code), 0, limit, False)
    return [gbk.decode(v) for v in items]


def build_component_code_table(m, inventory):
    entries = []   # [key, char]
    for ch in m.by_freq:
        comp, rest = component_for(m, ch, inventory)
        entries.append([comp + rest, ch])
    index = {ch: i for i, (_, ch) in enumerate(entries)}

    def rekey(ch, comp):
        code = pad5(m.code(ch))
        entries[index[ch]][0] = comp + code[len(m.code(comp)):]

    # 白 + 35: exactly the six characters, in their order.
    for k, ch in entries:
        if k.startswith("白35") and ch not in BAI35:
            # filed under its own first stroke instead
            rekey(ch, "丿")
    for ch in BAI35:
        rekey(ch, "白")
    _reorder(entries, lambda k: k.startswith("白35"), BAI35)
    # 口 + 1: the first eight in their order.
    _reorder(entries, lambda k: k.startswith("口1"), KOU1_HEAD)
    lines = [tuple(e) for e in entries]
    assert search(lines, "白35") == list(BAI35), search(lines, "白35")
    assert search(lines, "口1", 8) == list(KOU1_HEAD)
    return lines


def _reorder(entries, match, first):
    """Put the characters `first` at the front of the lines that match,
    keeping the slots those lines hold in the table."""
    slots = [i for i, (k, _) in enumerate(entries) if match(k)]
    got = [entries[i] for i in slots]
    by_char = {e[1]: e for e in got}
    missing = [c for c in first if c not in by_char]
    assert not missing, missing
    new = [by_char[c] for c in first] + [e for e in got if e[1] not in first]
    for i, e in zip(slots, new):
        entries[i] = e


def basic_stroke_strip():
    return b"".join(gbk.encode_char(c) + b" " for c in BASIC_STRIP)
