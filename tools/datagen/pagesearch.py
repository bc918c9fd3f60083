"""The panel's page search over the bytes of a table, for the data
generator's and the data check's own assertions: a prefix search for
CR LF + code in table order, a line read as the panel reads it, and the
duplicate skip (a line is passed over when its value, followed by the part
of its key the code does not cover, already stands on the page)."""

CRLF = b"\r\n"
# The panel reads a line within this many bytes after its CR LF.
LINE_WINDOW = 200


def whole_gbk(b):
    """True when the bytes are ASCII and whole two-byte characters."""
    i = 0
    while i < len(b):
        if b[i] >= 0x80:
            if b[i] in (0x80, 0xFF) or i + 1 >= len(b) or b[i + 1] < 0x40 or b[i + 1] in (0x7F, 0xFF):
                return False
            i += 1
        i += 1
    return True


def read_line(table, p):
    """(key, value) of the line after the CR LF at byte offset p, or None
    for a line the panel never offers: longer than its window, without a
    value, or with bytes that are not whole characters."""
    window = table[p + 2:p + 2 + LINE_WINDOW]
    end = window.find(CRLF)
    if end < 0:
        return None
    key, space, rest = window[:end].partition(b" ")
    value = rest.split(b" ")[0]
    if not space or not value or not whole_gbk(key) or not whole_gbk(value):
        return None
    return key, value


def build_page(table, code, start=0, per_page=30, row_breaks=True):
    """One page from byte offset start: (items, offset of the CR LF that
    opens the next page, or -1). per_page None takes every item."""
    pat = CRLF + code
    text = b""
    items = []
    p = table.find(pat, start)
    while p != -1:
        line = read_line(table, p)
        if line is not None and line[1] + line[0][len(code):] not in text:
            key, value = line
            if per_page is not None and len(items) == per_page:
                return items, p
            items.append(value)
            text += value + (b" \r\n" if row_breaks and len(items) in (8, 16, 24) else b" ")
        p = table.find(pat, p + 1)
    return items, -1


def pages(table, code, per_page=30, row_breaks=True):
    """Every page of a code, as the page-down key shows them."""
    items, pos = build_page(table, code, 0, per_page, row_breaks)
    out = [items]
    while pos != -1:
        items, pos = build_page(table, code, pos, per_page, row_breaks)
        out.append(items)
    return out
