#!/usr/bin/python3
"""make_icons.py: the page's two icons made from the window icon's 32 x 32 PNG.

- yopo-danger.png: the icon the page's tab shows during a flood or a scald,
  the same mark turned white on red: its white and yellow ground red, its
  black lines and red word white, so that it stands out among tabs.
- yopo-maskable-512.png: the icon for launchers that cut icons to a circle
  or a rounded square: the icon enlarged 9 times, every pixel a square
  block, on the icon's own white, so that all of it lies in the middle
  four fifths that every such shape keeps.

    make_icons.py ICON_PNG SITE
"""

import struct
import sys
import zlib
from pathlib import Path

WHITE = (255, 255, 255)
YELLOW = (255, 255, 0)
RED = (255, 0, 0)
BLACK = (0, 0, 0)
MASKABLE_SIZE = 512
MASKABLE_FACTOR = 9


def chunks(data):
    at = 8
    while at < len(data):
        length = struct.unpack(">I", data[at:at + 4])[0]
        yield data[at + 4:at + 8], data[at + 8:at + 8 + length]
        at += 12 + length


def chunk(kind, body):
    return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))


def png(width, height, depth, palette, rows):
    header = struct.pack(">IIBBBBB", width, height, depth, 3, 0, 0, 0)
    raw = b"".join(b"\0" + row for row in rows)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
            chunk(b"PLTE", b"".join(bytes(c) for c in palette)) +
            chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def read(path):
    """The palette and the rows of pixel indices of a palette PNG whose
    rows are unfiltered, as the icon's writer writes them."""
    parts = list(chunks(Path(path).read_bytes()))
    header = next(body for kind, body in parts if kind == b"IHDR")
    width, height, depth, colour_type = struct.unpack(">IIBB", header[:10])
    if colour_type != 3 or header[12] != 0:
        sys.exit(f"make_icons.py: {path} is not a plain palette PNG")
    plte = next(body for kind, body in parts if kind == b"PLTE")
    palette = [tuple(plte[i:i + 3]) for i in range(0, len(plte), 3)]
    raw = zlib.decompress(b"".join(body for kind, body in parts if kind == b"IDAT"))
    stride = (width * depth + 7) // 8
    rows = []
    for y in range(height):
        line = raw[y * (stride + 1):(y + 1) * (stride + 1)]
        if line[0] != 0:
            sys.exit(f"make_icons.py: {path} has filtered rows")
        per_byte = 8 // depth
        mask = (1 << depth) - 1
        rows.append([(line[1 + x // per_byte] >> (8 - depth * (x % per_byte + 1))) & mask
                     for x in range(width)])
    return palette, rows


def main(icon, site):
    palette, rows = read(icon)
    site = Path(site)

    danger = [RED if colour in (WHITE, YELLOW) else WHITE if colour in (RED, BLACK) else colour
              for colour in palette]
    size = len(rows)
    (site / "yopo-danger.png").write_bytes(
        png(size, size, 8, danger, [bytes(row) for row in rows]))

    white = palette.index(WHITE)
    border = (MASKABLE_SIZE - size * MASKABLE_FACTOR) // 2
    blank = bytes([white]) * MASKABLE_SIZE
    out = [blank] * border
    for row in rows:
        line = bytes([white]) * border + b"".join(bytes([i]) * MASKABLE_FACTOR for i in row)
        line += bytes([white]) * (MASKABLE_SIZE - len(line))
        out += [line] * MASKABLE_FACTOR
    out += [blank] * (MASKABLE_SIZE - len(out))
    (site / "yopo-maskable-512.png").write_bytes(
        png(MASKABLE_SIZE, MASKABLE_SIZE, 8, palette, out))


if __name__ == "__main__":
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    main(sys.argv[1], sys.argv[2])
