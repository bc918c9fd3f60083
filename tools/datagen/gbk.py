"""GBK byte handling shared by every table writer.

The tables are GBK byte strings.  The block with lead byte 0xFE holds stroke
components; glibc's GB18030 converter maps them to their standard code points
(FE51 is U+20087), whereas Python's codecs either reject them (gbk) or map a
few of them into the private use area (gb18030).  The panel, its front-ends
and this generator must agree on one mapping, so the FE block is spelled out
here and everything else goes through Python's gbk codec.
"""

# FE50..FEA0 (0xFE7F is not a trail byte), in byte order, with the standard
# code points used by glibc's GB18030 converter.
_FE_BLOCK = (
    "\u2E81\U00020087\U00020089\U000200CC\u2E84\u3473\u3447\u2E88\u2E8B\u9FB4"
    "\u359E\u361A\u360E\u2E8C\u2E97\u396E\u3918\u9FB5\u39CF\u39DF\u3A73\u39D0"
    "\u9FB6\u9FB7\u3B4E\u3C6E\u3CE0\u2EA7\U000215D7\u9FB8\u2EAA\u4056\u415F"
    "\u2EAE\u4337\u2EB3\u2EB6\u2EB7\U0002298F\u43B1\u43AC\u2EBB\u43DD\u44D6"
    "\u4661\u464C\u9FB9"
    "\u4723\u4729\u477C\u478D\u2ECA\u4947\u497A\u497D\u4982\u4983\u4985\u4986"
    "\u499F\u499B\u49B7\u49B6\u9FBA\U000241FE\u4CA3\u4C9F\u4CA0\u4CA1\u4C77"
    "\u4CA2\u4D13\u4D14\u4D15\u4D16\u4D17\u4D18\u4D19\u4DAE\u9FBB"
)

FE_ENCODE = {}
FE_DECODE = {}
_trail = [t for t in range(0x50, 0xA1) if t != 0x7F]
assert len(_trail) == len(_FE_BLOCK), (len(_trail), len(_FE_BLOCK))
for _t, _ch in zip(_trail, _FE_BLOCK):
    FE_ENCODE[_ch] = bytes([0xFE, _t])
    FE_DECODE[bytes([0xFE, _t])] = _ch


def encode_char(ch):
    """Two GBK bytes of one character; ValueError when GBK has none."""
    b = FE_ENCODE.get(ch)
    if b is not None:
        return b
    try:
        b = ch.encode("gbk")
    except UnicodeEncodeError:
        raise ValueError("not in GBK: U+%04X" % ord(ch)) from None
    if len(b) != 2:
        raise ValueError("not a two-byte GBK character: U+%04X" % ord(ch))
    if b[0] == 0xFE and 0x50 <= b[1] <= 0xA0:
        raise ValueError("private-use stand-in for an FE component: U+%04X" % ord(ch))
    return b


def is_gbk(ch):
    try:
        encode_char(ch)
        return True
    except ValueError:
        return False


def encode(text):
    """GBK bytes of a text of ASCII and two-byte characters."""
    out = bytearray()
    for ch in text:
        if ord(ch) < 0x80:
            out.append(ord(ch))
        else:
            out += encode_char(ch)
    return bytes(out)


def decode(data):
    """Inverse of encode()."""
    out = []
    i = 0
    while i < len(data):
        b = data[i]
        if b < 0x80:
            out.append(chr(b))
            i += 1
            continue
        pair = bytes(data[i:i + 2])
        ch = FE_DECODE.get(pair)
        if ch is None:
            ch = pair.decode("gbk")
        out.append(ch)
        i += 2
    return "".join(out)


def gbk_hanzi():
    """The 20,902 unified ideographs of GBK (U+4E00..U+9FA5), in GBK byte order."""
    chars = [chr(c) for c in range(0x4E00, 0x9FA6)]
    return sorted(chars, key=encode_char)


def is_gb2312(ch):
    try:
        ch.encode("gb2312")
        return True
    except UnicodeEncodeError:
        return False
