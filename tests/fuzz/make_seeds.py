#!/usr/bin/env python3
"""Writes the seed corpus of each fuzzing harness (corpus/NAME/*): small
inputs in each harness's format, some cut from the shipped tables. Run from
the repository's root; the files it writes are kept in the repository."""
import os
import random

SEP = b"\xff\xff"


def gbk(s):
    return s.encode("gb18030")


def head(path, n):
    """The first n lines of a shipped table."""
    with open(path, "rb") as f:
        return b"\r\n".join(f.read().split(b"\r\n")[:n])


def write(name, label, data):
    d = os.path.join("tests", "fuzz", "corpus", name)
    os.makedirs(d, exist_ok=True)
    with open(os.path.join(d, label), "wb") as f:
        f.write(data)


def main():
    rnd = random.Random(12)
    stroke = head("data/词库/笔画.txt", 300)
    four = head("data/词库/四角号码.txt", 200)
    extra = head("data/词库/附加笔画.txt", 200)
    assoc = head("data/词库/联想词.txt", 300)
    pages = bytes([1, 1, 1, 2, 2, 1, 2, 2, 2, 1, 1, 1, 1])

    write("search", "dup_keys", gbk("1 一\r\n12 十\r\n12 十\r\n123 十\r\n1234 十\r\n2 丨") + SEP + b"12" + SEP + pages)
    write("search", "stroke_1", stroke + SEP + b"1" + SEP + pages)
    write("search", "stroke_25", stroke + SEP + b"25" + SEP + b"\x00" + pages)
    write("search", "assoc", assoc + SEP + gbk("的") + SEP + pages)
    write("search", "malformed", gbk("1一\r\n1  二\r\n1 \r\n1 三 四\r\n" + "1" * 250 + " 长\r\n1 五") + SEP + b"1" + SEP + pages)

    write("infostrip", "stroke", stroke + SEP + extra + SEP + four + SEP + gbk("de 的\r\nyi 一") + SEP + gbk("拼音") +
          SEP + gbk("的") + b"\x00")
    write("infostrip", "four", stroke + SEP + extra + SEP + four + SEP + gbk("a 一\r\nb 一 \r\n") + SEP + b"" + SEP +
          gbk(" 一 ") + b"\x02")
    write("infostrip", "ends", gbk("12345678901234567890 口\r\n123456789012345678901 口\n25 口\r1 口 ") + SEP * 3 +
          gbk("kou 口") + SEP + gbk("拼音\r\n") + SEP + gbk("口") + b"\x01")

    for label, page in [("same", "<p>Ж Lumiko 1.0Й</p>"), ("newer", "最新版本ЖLumiko 1.1Й"), ("empty", "ЖЙ"),
                        ("none", "<html>nothing</html>"), ("close_first", "Й 1 Ж 2 Й"), ("equal", "ЖLumiko 1.0Й")]:
        write("version", label, gbk(page))

    # the stored name; the listing (names separated by NUL); whether each listed
    # file is readable, the item selected, whether a name is typed, whether the save fails
    write("dictname", "pinyin", gbk("拼音") + SEP + gbk("拼音.txt\0新华字典.txt\0X.TXT") + SEP + b"\x01\x01\x01\x01\x01\x01")
    write("dictname", "line_break", gbk("拼音\r\n") + SEP + gbk("拼音.txt") + SEP + b"\x01\x00\x01\x01")
    write("dictname", "upper_case", gbk("X") + SEP + gbk("X.TXT\0y.txt") + SEP + b"\x01\x01\x00\x01\x01")
    write("dictname", "save_fails", gbk("y") + SEP + gbk("y.txt") + SEP + b"\x01\x00\x01\x00")
    write("dictname", "typed", b"" + SEP + gbk("a.txt\0..\\b.txt\0c.TxT") + SEP + b"\x01\x01\x01\x00\x00" + SEP +
          gbk("..\\x.txt"))

    for sim in sorted(os.listdir("tests/scenarios")):
        if sim.endswith(".sim"):
            with open(os.path.join("tests/scenarios", sim), "rb") as f:
                write("simparser", sim[:-4], f.read())

    for label, text in [("tables", stroke[:400]), ("components", b"\xfe\x51\xfe\x59\xfe\x90 \x80\xff\x81"),
                        ("path", gbk("词库\\字典\\拼音.txt")), ("four_byte", "𠀀€".encode("gb18030"))]:
        write("encoding", label, text)

    events = bytes(rnd.randrange(256) for _ in range(600))
    write("panel", "shipped_heads", stroke + SEP + extra + SEP + four + SEP + assoc + SEP + gbk("拼音") + SEP +
          gbk("de 的\r\nyi 一\r\nshi 十") + SEP + events)
    write("panel", "tiny", gbk("1 一\r\n12 十\r\n2 丨") + SEP + gbk("1 一") + SEP + gbk("1000 一") + SEP +
          gbk("一 个\r\n一 二\r\n十 分") + SEP + b"" + SEP + b"" + SEP + bytes(rnd.randrange(256) for _ in range(400)))


if __name__ == "__main__":
    main()
