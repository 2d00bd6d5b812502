#!/usr/bin/env python3
"""Draws KIVO's two pictures and writes them as PNG files next to this script.

  logo.png  64 x 64, 24-bit: a keyboard key seen from above, the letter K on its face.
  kivo.png  32 x 32, 16 colours: the program icon, yellow lettering on a red band above a
            blue field, with a small grey keyboard in the lower half.
  kivo-64.png  the icon doubled, pixel for pixel, for desktops that ask for a larger one.

Plain Python (zlib and struct only), so that anyone can redraw them: python3 make-pictures.py
"""
import os
import struct
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))


def write_png(path, width, height, rows, palette=None):
    """rows: list of rows; each pixel an (r, g, b) tuple, or a palette index if palette."""
    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    raw = bytearray()
    for row in rows:
        raw.append(0)
        if palette is None:
            for r, g, b in row:
                raw += bytes((r, g, b))
        else:
            # 4 bits per pixel, two pixels a byte.
            for x in range(0, width, 2):
                raw.append((row[x] << 4) | (row[x + 1] if x + 1 < width else 0))
    if palette is None:
        header = struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)
        extra = b""
    else:
        header = struct.pack(">IIBBBBB", width, height, 4, 3, 0, 0, 0)
        extra = chunk(b"PLTE", b"".join(bytes(c) for c in palette))
    data = (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + extra
            + chunk(b"IDAT", zlib.compress(bytes(raw), 9)) + chunk(b"IEND", b""))
    with open(path, "wb") as f:
        f.write(data)


def inside(polygon, x, y):
    """Even-odd rule point-in-polygon test."""
    result = False
    n = len(polygon)
    for i in range(n):
        x1, y1 = polygon[i]
        x2, y2 = polygon[(i + 1) % n]
        if (y1 > y) != (y2 > y) and x < x1 + (y - y1) * (x2 - x1) / (y2 - y1):
            result = not result
    return result


def letter_k(left, top):
    """A bold serif capital K, 20 wide and 26 high, as polygons in pixel coordinates."""
    def shift(points):
        return [(left + px, top + py) for px, py in points]
    return [
        shift([(4, 2), (9, 2), (9, 24), (4, 24)]),          # stem
        shift([(1, 0), (12, 0), (12, 2), (1, 2)]),          # top serif of the stem
        shift([(1, 24), (12, 24), (12, 26), (1, 26)]),      # foot serif of the stem
        shift([(9, 11), (15, 2), (19.5, 2), (9, 16.5)]),     # upper arm
        shift([(9.5, 13), (13, 9.5), (20, 24), (14.5, 24)]),   # leg
        shift([(13, 0), (20, 0), (20, 2), (13, 2)]),        # arm serif
        shift([(13.5, 24), (20, 24), (20, 26), (13.5, 26)]),  # leg serif
    ]


def coverage(polygons, x, y, samples=4):
    hits = 0
    for sy in range(samples):
        for sx in range(samples):
            px = x + (sx + 0.5) / samples
            py = y + (sy + 0.5) / samples
            if any(inside(p, px, py) for p in polygons):
                hits += 1
    return hits / (samples * samples)


def mix(a, b, t):
    return tuple(round(a[i] + (b[i] - a[i]) * t) for i in range(3))


def draw_logo():
    size = 64
    face_light = (250, 250, 250)
    face = (200, 200, 200)
    bevel_dark = (8, 8, 8)
    blue = (0, 0, 159)
    shadow = (60, 60, 70)
    glyph = letter_k(22, 16)
    glyph_shadow = letter_k(23.5, 17.5)
    rows = []
    for y in range(size):
        row = []
        for x in range(size):
            # The key's face: almost white at the top left, light grey towards the middle.
            t = min(1.0, (x + y) / (size * 0.9))
            color = mix(face_light, face, t)
            # The bevel along the right and bottom edges, darkest at the bottom right corner.
            edge = max(x - (size - 9), y - (size - 9), 0)
            if edge > 0:
                depth = edge / 8.0
                corner = ((x / (size - 1)) * (y / (size - 1))) ** 2
                color = mix(color, bevel_dark, min(1.0, 0.35 + 0.4 * depth + 0.3 * corner))
            # A thin light edge at the top and left.
            if x == 0 or y == 0:
                color = (255, 255, 255)
            s = coverage(glyph_shadow, x, y)
            if s:
                color = mix(color, shadow, 0.35 * s)
            c = coverage(glyph, x, y)
            if c:
                color = mix(color, blue, c)
            row.append(color)
        rows.append(row)
    write_png(os.path.join(HERE, "logo.png"), size, size, rows)


# A 3 x 5 pixel alphabet for the icon's lettering.
TINY = {
    "K": ["X.X", "XX.", "X..", "XX.", "X.X"],
    "I": ["XXX", ".X.", ".X.", ".X.", "XXX"],
    "V": ["X.X", "X.X", "X.X", "X.X", ".X."],
    "O": ["XXX", "X.X", "X.X", "X.X", "XXX"],
}


def draw_icon():
    palette = [
        (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128),
        (0, 128, 128), (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0),
        (255, 255, 0), (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
    ]
    BLACK, MAROON, NAVY, SILVER, GREY, RED, YELLOW, BLUE, WHITE = 0, 1, 4, 7, 8, 9, 11, 12, 15
    size = 32
    pixels = [[BLUE] * size for _ in range(size)]
    # The red band across the top with a dark rule below it.
    for y in range(0, 11):
        for x in range(size):
            pixels[y][x] = RED
    for x in range(size):
        pixels[11][x] = MAROON
    # "KIVO" in yellow, 3 x 5 letters with one column between them, centred on the band.
    word = "KIVO"
    left = (size - (len(word) * 4 - 1)) // 2
    for i, letter in enumerate(word):
        for dy, line in enumerate(TINY[letter]):
            for dx, mark in enumerate(line):
                if mark == "X":
                    pixels[3 + dy][left + i * 4 + dx] = YELLOW
    # A small grey keyboard in the lower half: a case with three rows of keys and a space bar.
    kx, ky, kw, kh = 4, 17, 24, 12
    for y in range(ky, ky + kh):
        for x in range(kx, kx + kw):
            edge = y in (ky, ky + kh - 1) or x in (kx, kx + kw - 1)
            pixels[y][x] = BLACK if edge else GREY
    for row in range(3):
        y = ky + 2 + row * 2
        offset = kx + 2 + row
        for key in range(6 - (row == 2)):
            x = offset + key * 3
            if x + 1 < kx + kw - 1:
                pixels[y][x] = WHITE
                pixels[y][x + 1] = SILVER
    for x in range(kx + 7, kx + 17):
        pixels[ky + 8][x] = WHITE
        pixels[ky + 9][x] = SILVER
    # A navy shadow under the keyboard.
    for x in range(kx + 1, kx + kw + 1):
        pixels[ky + kh][x] = NAVY
    for y in range(ky + 1, ky + kh + 1):
        pixels[y][kx + kw] = NAVY
    write_png(os.path.join(HERE, "kivo.png"), size, size, pixels, palette)
    doubled = []
    for row in pixels:
        wide = [p for p in row for _ in range(2)]
        doubled += [wide, list(wide)]
    write_png(os.path.join(HERE, "kivo-64.png"), 64, 64, doubled, palette)


if __name__ == "__main__":
    draw_logo()
    draw_icon()
