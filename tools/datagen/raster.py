"""Glyph rendering from a TrueType collection, and BMP / ICO writers.

A small outline rasteriser: TrueType quadratic contours are flattened to
polygons and filled with the non-zero rule, 8 x 8 samples per pixel, so the
pictures are anti-aliased and come out the same on every machine.
"""

import struct


class Font:
    def __init__(self, path, index=0):
        with open(path, "rb") as f:
            self.data = data = f.read()
        base = 0
        if data[:4] == b"ttcf":
            base = struct.unpack(">I", data[12 + 4 * index:16 + 4 * index])[0]
        num = struct.unpack(">H", data[base + 4:base + 6])[0]
        self.tables = {}
        for i in range(num):
            rec = data[base + 12 + 16 * i:base + 28 + 16 * i]
            tag, _, off, length = struct.unpack(">4sIII", rec)
            self.tables[tag.decode("latin-1")] = (off, length)
        head = self.tables["head"][0]
        self.units = struct.unpack(">H", data[head + 18:head + 20])[0]
        self.loc_long = struct.unpack(">h", data[head + 50:head + 52])[0] == 1
        self.cmap = self._read_cmap()

    def _read_cmap(self):
        d = self.data
        off = self.tables["cmap"][0]
        n = struct.unpack(">H", d[off + 2:off + 4])[0]
        best = None
        for i in range(n):
            pid, eid, sub = struct.unpack(">HHI", d[off + 4 + 8 * i:off + 12 + 8 * i])
            fmt = struct.unpack(">H", d[off + sub:off + sub + 2])[0]
            if pid == 3 and fmt == 12:
                best = (12, off + sub)
            elif pid == 3 and eid == 1 and fmt == 4 and best is None:
                best = (4, off + sub)
        fmt, p = best
        out = {}
        if fmt == 12:
            ngroups = struct.unpack(">I", d[p + 12:p + 16])[0]
            for g in range(ngroups):
                s, e, gid = struct.unpack(">III", d[p + 16 + 12 * g:p + 28 + 12 * g])
                for c in range(s, e + 1):
                    out[c] = gid + c - s
            return out
        segx2 = struct.unpack(">H", d[p + 6:p + 8])[0]
        segs = segx2 // 2
        ends = struct.unpack(">%dH" % segs, d[p + 14:p + 14 + segx2])
        q = p + 16 + segx2
        starts = struct.unpack(">%dH" % segs, d[q:q + segx2])
        deltas = struct.unpack(">%dh" % segs, d[q + segx2:q + 2 * segx2])
        ro_pos = q + 2 * segx2
        ros = struct.unpack(">%dH" % segs, d[ro_pos:ro_pos + segx2])
        for i in range(segs):
            for c in range(starts[i], ends[i] + 1):
                if c == 0xFFFF:
                    continue
                if ros[i] == 0:
                    g = (c + deltas[i]) & 0xFFFF
                else:
                    a = ro_pos + 2 * i + ros[i] + 2 * (c - starts[i])
                    g = struct.unpack(">H", d[a:a + 2])[0]
                    if g:
                        g = (g + deltas[i]) & 0xFFFF
                out[c] = g
        return out

    def _glyph_range(self, gid):
        loca = self.tables["loca"][0]
        if self.loc_long:
            a, b = struct.unpack(">II", self.data[loca + 4 * gid:loca + 4 * gid + 8])
        else:
            a, b = (x * 2 for x in struct.unpack(">HH", self.data[loca + 2 * gid:loca + 2 * gid + 4]))
        return self.tables["glyf"][0] + a, b - a

    def contours(self, gid):
        """Closed contours of a glyph as lists of (x, y, on_curve)."""
        d = self.data
        p, length = self._glyph_range(gid)
        if length == 0:
            return []
        ncont = struct.unpack(">h", d[p:p + 2])[0]
        if ncont < 0:
            return self._composite(p + 10)
        ends = struct.unpack(">%dH" % ncont, d[p + 10:p + 10 + 2 * ncont])
        q = p + 10 + 2 * ncont
        ilen = struct.unpack(">H", d[q:q + 2])[0]
        q += 2 + ilen
        npts = ends[-1] + 1
        flags = []
        while len(flags) < npts:
            f = d[q]
            q += 1
            flags.append(f)
            if f & 8:
                flags.extend([f] * d[q])
                q += 1
        coords = []
        for short, same in ((2, 16), (4, 32)):
            v = 0
            vals = []
            for f in flags[:npts]:
                if f & short:
                    dv = d[q]
                    q += 1
                    v += dv if f & same else -dv
                elif not f & same:
                    v += struct.unpack(">h", d[q:q + 2])[0]
                    q += 2
                vals.append(v)
            coords.append(vals)
        out, start = [], 0
        for e in ends:
            out.append([(coords[0][i], coords[1][i], flags[i] & 1) for i in range(start, e + 1)])
            start = e + 1
        return out

    def _composite(self, q):
        d = self.data
        out = []
        while True:
            flags, gid = struct.unpack(">HH", d[q:q + 4])
            q += 4
            if flags & 1:
                dx, dy = struct.unpack(">hh", d[q:q + 4])
                q += 4
            else:
                dx, dy = struct.unpack(">bb", d[q:q + 2])
                q += 2
            a, b, c, e = 1.0, 0.0, 0.0, 1.0
            if flags & 8:
                a = e = struct.unpack(">h", d[q:q + 2])[0] / 16384
                q += 2
            elif flags & 0x40:
                a, e = (v / 16384 for v in struct.unpack(">hh", d[q:q + 4]))
                q += 4
            elif flags & 0x80:
                a, b, c, e = (v / 16384 for v in struct.unpack(">hhhh", d[q:q + 8]))
                q += 8
            for cont in self.contours(gid):
                out.append([(a * x + c * y + dx, b * x + e * y + dy, on) for x, y, on in cont])
            if not flags & 0x20:
                return out

    def polygons(self, ch):
        gid = self.cmap.get(ord(ch))
        if not gid:
            raise KeyError("font has no glyph for U+%04X" % ord(ch))
        return [flatten(c) for c in self.contours(gid)]


def flatten(contour, steps=8):
    """Quadratic TrueType contour -> polygon."""
    pts = []
    n = len(contour)
    # expand implied on-curve points
    full = []
    for i in range(n):
        x, y, on = contour[i]
        nx, ny, non = contour[(i + 1) % n]
        full.append((x, y, on))
        if not on and not non:
            full.append(((x + nx) / 2, (y + ny) / 2, 1))
    start = next(i for i, p in enumerate(full) if p[2])
    full = full[start:] + full[:start]
    m = len(full)
    i = 0
    while i < m:
        x0, y0, _ = full[i]
        x1, y1, on1 = full[(i + 1) % m]
        if on1:
            pts.append((x0, y0))
            i += 1
        else:
            x2, y2, _ = full[(i + 2) % m]
            for s in range(steps):
                t = s / steps
                pts.append(((1 - t) ** 2 * x0 + 2 * (1 - t) * t * x1 + t * t * x2,
                            (1 - t) ** 2 * y0 + 2 * (1 - t) * t * y1 + t * t * y2))
            i += 2
    return pts


def fill(polys, w, h, ss=8):
    """Coverage 0..1 per pixel (row 0 at the top) of polygons given in pixel
    coordinates, y growing downwards; non-zero winding rule."""
    cov = [[0.0] * w for _ in range(h)]
    edges = []
    for poly in polys:
        for i in range(len(poly)):
            (x0, y0), (x1, y1) = poly[i], poly[(i + 1) % len(poly)]
            if y0 != y1:
                edges.append((x0, y0, x1, y1, 1 if y1 > y0 else -1))
    for sy in range(h * ss):
        y = (sy + 0.5) / ss
        xs = []
        for x0, y0, x1, y1, wd in edges:
            if (y0 <= y < y1) or (y1 <= y < y0):
                xs.append((x0 + (y - y0) * (x1 - x0) / (y1 - y0), wd))
        if not xs:
            continue
        xs.sort()
        row = cov[sy // ss]
        wind = 0
        for k in range(len(xs) - 1):
            wind += xs[k][1]
            if wind == 0:
                continue
            a, b = xs[k][0] * ss, xs[k + 1][0] * ss
            for sx in range(max(0, int(a + 0.5)), min(w * ss, int(b + 0.5))):
                row[sx // ss] += 1.0 / (ss * ss)
    return cov


def render_glyph(font, ch, size=32, em=27, bold=1.0):
    """A glyph in a size x size box: em pixels to the em, centred on its ink,
    emboldened by bold pixels (the outline filled at four offsets; the
    non-zero rule makes that their union)."""
    polys = font.polygons(ch)
    sc = em / font.units
    xs = [x for p in polys for x, _ in p]
    ys = [y for p in polys for _, y in p]
    cx, cy = (min(xs) + max(xs)) / 2, (min(ys) + max(ys)) / 2
    tp = []
    for dx, dy in ((0, 0), (bold, 0), (0, bold), (bold, bold)):
        tp += [[(size / 2 - bold / 2 + dx + (x - cx) * sc, size / 2 - bold / 2 + dy - (y - cy) * sc)
                for x, y in p] for p in polys]
    return fill(tp, size, size)


def _dib(pixels, bpp, with_mask, height_factor):
    """BITMAPINFOHEADER + bottom-up pixel rows (+ AND mask for icons).
    pixels: rows top first of (r, g, b, a)."""
    h, w = len(pixels), len(pixels[0])
    rowlen = (w * bpp // 8 + 3) & ~3
    body = bytearray()
    for row in reversed(pixels):
        line = bytearray()
        for r, g, b, a in row:
            line += bytes((b, g, r, a)) if bpp == 32 else bytes((b, g, r))
        body += line + b"\0" * (rowlen - len(line))
    mask = bytearray()
    if with_mask:
        mrow = ((w + 31) // 32) * 4
        for row in reversed(pixels):
            bits = bytearray(mrow)
            for x, px in enumerate(row):
                if px[3] == 0:
                    bits[x // 8] |= 0x80 >> (x % 8)
            mask += bits
    hdr = struct.pack("<IiiHHIIiiII", 40, w, h * height_factor, 1, bpp, 0,
                      len(body) + len(mask) if with_mask else len(body), 0, 0, 0, 0)
    return hdr + bytes(body) + bytes(mask)


def bmp(pixels):
    """24-bit BMP file, bottom-up rows."""
    dib = _dib(pixels, 24, False, 1)
    return struct.pack("<2sIHHI", b"BM", 14 + len(dib), 0, 0, 54) + dib


def ico(pixels, bpp):
    """Icon file with one image of 24 or 32 bits per pixel."""
    h, w = len(pixels), len(pixels[0])
    dib = _dib(pixels, bpp, True, 2)
    entry = struct.pack("<BBBBHHII", w % 256, h % 256, 0, 0, 1, bpp, len(dib), 22)
    return struct.pack("<HHH", 0, 1, 1) + entry + dib


def to_png(pixels, scale=1):
    """PNG of the pixels (for looking at them), nearest-neighbour scaled."""
    import zlib
    h, w = len(pixels), len(pixels[0])
    raw = bytearray()
    for row in pixels:
        line = bytearray(b"\0")
        for px in row:
            line += bytes(px[:3]) * scale
        raw += bytes(line) * scale

    def chunk(t, b):
        c = struct.pack(">I", len(b)) + t + b
        return c + struct.pack(">I", zlib.crc32(t + b) & 0xFFFFFFFF)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", w * scale, h * scale, 8, 2, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(bytes(raw), 9)) + chunk(b"IEND", b""))
