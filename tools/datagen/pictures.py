"""Key pictures and icons."""

import raster

# Key pictures: file name -> glyph.
KEY_PICTURES = {
    "heng": "一", "shu": "丨", "pie": "丿", "dian": "丶", "zhe": "乙",
    "shi": "十", "shou": "扌", "kou": "口", "chang": "厂", "ba": "八",
    "xiao": "小", "tou": "亠", "yi": "乂", "ring": "○",
}

WHITE = (255, 255, 255, 255)


def _shade(cov, ink, paper):
    c = max(0.0, min(1.0, cov))
    return tuple(round(p + (i - p) * c) for i, p in zip(ink, paper))


def key_picture(font, ch):
    # the ring is a symbol of text height in the font; it is drawn at the
    # size of the characters on the other keys
    cov = raster.render_glyph(font, ch, em=27 * 1.9 if ch == "○" else 27, bold=0.4)
    return raster.bmp([[_shade(c, (0, 0, 0), (255, 255, 255)) + (255,) for c in row]
                       for row in cov])


def _rounded_rect(x0, y0, x1, y1, r, n=8):
    import math
    pts = []
    for cx, cy, a0 in ((x1 - r, y0 + r, -90), (x1 - r, y1 - r, 0),
                       (x0 + r, y1 - r, 90), (x0 + r, y0 + r, 180)):
        for k in range(n + 1):
            a = math.radians(a0 + 90 * k / n)
            pts.append((cx + r * math.cos(a), cy + r * math.sin(a)))
    return pts


def program_icon(font):
    """32 x 32, 32 bits: a blue rounded square with a white 字."""
    size = 32
    bg = raster.fill([_rounded_rect(0.5, 0.5, 31.5, 31.5, 6)], size, size)
    glyph = raster.render_glyph(font, "字", size=size, em=23, bold=0.6)
    px = []
    for y in range(size):
        row = []
        for x in range(size):
            a = max(0.0, min(1.0, bg[y][x]))
            # top-to-bottom gradient of the tile
            t = y / (size - 1)
            tile = (round(40 + 20 * t), round(120 - 40 * t), round(215 - 45 * t))
            r, g, b = _shade(glyph[y][x], (255, 255, 255), tile)
            row.append((r, g, b, round(255 * a)))
        px.append(row)
    return raster.ico(px, 32)


def _button_icon(layers):
    """16 x 16, 24 bits with a transparency mask.  layers: (polygons,
    colour) painted in order; edge pixels are blended against a light button
    face, pixels no layer touches are transparent."""
    px = [[None] * 16 for _ in range(16)]
    for polys, colour in layers:
        cov = raster.fill(polys, 16, 16)
        for y in range(16):
            for x in range(16):
                c = min(1.0, cov[y][x])
                if c < 0.08:
                    continue
                under = px[y][x] or (240, 240, 240)
                px[y][x] = _shade(c, colour, under)
    rows = [[(p + (255,)) if p else (0, 0, 0, 0) for p in row] for row in px]
    return raster.ico(rows, 24)


INK = (48, 48, 48)


def _rect(x0, y0, x1, y1):
    return [(x0, y0), (x1, y0), (x1, y1), (x0, y1)]


def _bar(x0, y0, x1, y1, w):
    """A bar of width w from (x0, y0) to (x1, y1)."""
    import math
    dx, dy = x1 - x0, y1 - y0
    n = math.hypot(dx, dy)
    ox, oy = -dy / n * w / 2, dx / n * w / 2
    return [(x0 + ox, y0 + oy), (x1 + ox, y1 + oy), (x1 - ox, y1 - oy), (x0 - ox, y0 - oy)]


def backspace_icon():
    """A key pointing left with a white cross on it."""
    tag = [(0.5, 8), (5.5, 2.5), (15.5, 2.5), (15.5, 13.5), (5.5, 13.5)]
    cross = [_bar(7.5, 5.5, 12.5, 10.5, 1.6), _bar(7.5, 10.5, 12.5, 5.5, 1.6)]
    return _button_icon([([tag], INK), (cross, (255, 255, 255))])


def space_icon():
    """The space bar sign: a bracket open to the top."""
    return _button_icon([([_rect(2, 10, 14, 12), _rect(2, 6, 4, 12), _rect(12, 6, 14, 12)], INK)])


def enter_icon():
    """A line coming down on the right and turning left into an arrow head."""
    return _button_icon([([_rect(12, 3, 14, 11), _rect(6, 9, 14, 11),
                           [(1.5, 10), (7, 5), (7, 15)]], INK)])
