#!/usr/bin/env python3
"""Rewrites the GBK string literals of C++ sources for compilers without
-fexec-charset (clang): every ordinary narrow string literal that holds a
non-ASCII character becomes an ordinary literal whose non-ASCII characters are
GB18030 bytes written as three-digit octal escapes. Identifiers, comments and
prefixed literals (u8, u, U, L) stay as they are; raw strings holding non-ASCII
text become ordinary literals with the same bytes.

  gbk_literals.py convert OUT_DIR ROOT FILE...   FILE (under ROOT) -> OUT_DIR/relative path
  gbk_literals.py check GCC_CPP CLANG_CPP FILE... two programs printing every
                                                  rewritten literal: the original
                                                  tokens (for GCC with
                                                  -fexec-charset=GB18030) and
                                                  the rewritten ones (for clang)
"""
import os
import subprocess
import sys

PREFIXES = ("u8", "u", "U", "L")


# GB18030 bytes of each character, from the C library's iconv: the one GCC
# converts literals with (Python's own codec follows an older edition of
# GB18030 for a few characters, U+1E3F among them).
_GB = {}


def gb18030(ch):
    if ch not in _GB:
        out = subprocess.run(["iconv", "-f", "UTF-8", "-t", "GB18030"], input=ch.encode("utf-8"),
                             capture_output=True, check=True).stdout
        _GB[ch] = out
    return _GB[ch]


def prepare(texts):
    """Converts every character of `texts` in one iconv run."""
    chars = sorted({ch for t in texts for ch in t if ord(ch) >= 0x80} - set(_GB))
    if not chars:
        return
    out = subprocess.run(["iconv", "-f", "UTF-8", "-t", "GB18030"], input="\n".join(chars).encode("utf-8"),
                         capture_output=True, check=True).stdout.split(b"\n")
    if len(out) != len(chars):
        raise SystemExit("iconv: unexpected output")
    _GB.update(zip(chars, out))


def octal(text):
    out = []
    for ch in text:
        if ord(ch) < 0x80:
            out.append(ch)
        else:
            out.extend("\\%03o" % b for b in gb18030(ch))
    return "".join(out)


def raw_to_ordinary(body):
    """An ordinary literal (or several, one per source line) with the bytes
    of a raw string's body."""
    pieces = []
    for i, line in enumerate(body.split("\n")):
        esc = []
        for ch in line:
            if ch == "\\":
                esc.append("\\\\")
            elif ch == '"':
                esc.append('\\"')
            elif ch == "\t":
                esc.append("\\t")
            elif ord(ch) < 0x80:
                esc.append(ch)
            else:
                esc.extend("\\%03o" % b for b in gb18030(ch))
        pieces.append("".join(esc))
    return '"' + '\\n"\n"'.join(pieces) + '"'


def tokens(src):
    """Yields (kind, text) over the source: kind is 'lit' for an ordinary
    string literal (without suffix), 'raw' for a raw string (its whole token
    and its body), 'other' for everything else."""
    i, n = 0, len(src)
    start = 0
    while i < n:
        c = src[i]
        if src.startswith("//", i):
            j = src.find("\n", i)
            i = n if j < 0 else j
            continue
        if src.startswith("/*", i):
            j = src.find("*/", i + 2)
            i = n if j < 0 else j + 2
            continue
        if c == "'":
            # a digit separator inside a number, or a character literal
            if i > 0 and _in_number(src, i):
                i += 1
                continue
            j = i + 1
            while j < n and src[j] != "'":
                j += 2 if src[j] == "\\" else 1
            i = j + 1
            continue
        if c == '"':
            # the prefix, if any, stands right before the quote
            k = i
            while k > 0 and (src[k - 1].isalnum() or src[k - 1] == "_"):
                k -= 1
            prefix = src[k:i]
            if prefix.endswith("R") and prefix[:-1] in ("",) + PREFIXES:
                d_end = src.find("(", i)
                delim = src[i + 1:d_end]
                close = ")" + delim + '"'
                e = src.find(close, d_end)
                if prefix == "R":
                    yield "other", src[start:k]
                    yield "raw", (src[k:e + len(close)], src[d_end + 1:e])
                    start = e + len(close)
                i = e + len(close)
                continue
            j = i + 1
            while j < n and src[j] != '"':
                j += 2 if src[j] == "\\" else 1
            if prefix == "":
                yield "other", src[start:i]
                yield "lit", src[i:j + 1]
                start = j + 1
            i = j + 1
            continue
        i += 1
    yield "other", src[start:]


def _in_number(src, i):
    """True when the quote at i stands inside a number (1'000)."""
    if not (src[i - 1].isalnum() or src[i - 1] == "_"):
        return False
    k = i - 1
    while k >= 0 and (src[k].isalnum() or src[k] in "_'."):
        k -= 1
    return src[k + 1].isdigit()


def needs(text):
    return any(ord(ch) >= 0x80 for ch in text)


def convert(src):
    out = []
    for kind, t in tokens(src):
        if kind == "lit":
            out.append(octal(t) if needs(t) else t)
        elif kind == "raw":
            out.append(raw_to_ordinary(t[1]) if needs(t[1]) else t[0])
        else:
            out.append(t)
    return "".join(out)


def write_if_changed(path, text):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    try:
        with open(path, encoding="utf-8") as f:
            if f.read() == text:
                return
    except FileNotFoundError:
        pass
    with open(path, "w", encoding="utf-8") as f:
        f.write(text)


def read(path):
    with open(path, encoding="utf-8") as f:
        text = f.read()
    prepare([text])
    return text


PROGRAM = """// Generated: every GBK literal of the core, printed as bytes.
#include <cstdio>
struct Literal { const char* s; unsigned long n; };
static const Literal literals[] = {
%s
};
int main() {
    for (const Literal& l : literals) {
        std::fwrite(l.s, 1, l.n, stdout);
        std::fputc('\\n', stdout);
    }
    return 0;
}
"""


def main(argv):
    if len(argv) >= 3 and argv[0] == "convert":
        out_dir, root = argv[1], argv[2]
        for path in argv[3:]:
            rel = os.path.relpath(path, root)
            write_if_changed(os.path.join(out_dir, rel), convert(read(path)))
        return 0
    if len(argv) >= 3 and argv[0] == "check":
        gcc_rows, clang_rows = [], []
        for path in argv[3:]:
            for kind, t in tokens(read(path)):
                if kind == "lit" and needs(t):
                    gcc_rows.append(t)
                    clang_rows.append(octal(t))
                elif kind == "raw" and needs(t[1]):
                    gcc_rows.append(t[0])
                    clang_rows.append(raw_to_ordinary(t[1]))
        row = "    {%s, sizeof(%s)},"
        write_if_changed(argv[1], PROGRAM % "\n".join(row % (t, t) for t in gcc_rows))
        write_if_changed(argv[2], PROGRAM % "\n".join(row % (t, t) for t in clang_rows))
        return 0
    sys.stderr.write(__doc__)
    return 2


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
