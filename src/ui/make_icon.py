#!/usr/bin/env python3
"""Writes velmor2.ico: one 32 x 32 image in 16 colours (4 bits per pixel)
with a transparency mask. The picture: a blue tile with a white arrow
pointing down onto a yellow tray, the program bringing files down.

Run it from any folder; it writes the icon beside itself."""
import os
import struct

# The standard 16-colour palette (B, G, R, 0 in the file).
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
DARK_BLUE, BLUE, WHITE, YELLOW, BLACK, GREY = 4, 12, 15, 11, 0, 8
SIZE = 32


def picture():
    """Rows top to bottom; None is transparent."""
    px = [[None] * SIZE for _ in range(SIZE)]
    # Tile with cut corners, dark border.
    for y in range(1, 31):
        for x in range(1, 31):
            corner = min(x - 1, 30 - x) + min(y - 1, 30 - y)
            if corner < 2:
                continue
            edge = x in (1, 30) or y in (1, 30) or corner == 2
            px[y][x] = DARK_BLUE if edge else BLUE
    # Arrow: shaft and head.
    for y in range(5, 16):
        for x in range(13, 19):
            px[y][x] = WHITE
    for i, y in enumerate(range(16, 24)):
        for x in range(8 + i, 24 - i):
            px[y][x] = WHITE
    # Tray under the arrow.
    for x in range(7, 25):
        px[25][x] = YELLOW
        px[26][x] = YELLOW
    for y in (23, 24):
        px[y][7] = YELLOW
        px[y][24] = YELLOW
    return px


def icon_bytes():
    px = picture()
    xor = bytearray()
    mask = bytearray()
    for y in reversed(range(SIZE)):  # bottom-up rows
        row = px[y]
        for x in range(0, SIZE, 2):
            hi = row[x] if row[x] is not None else BLACK
            lo = row[x + 1] if row[x + 1] is not None else BLACK
            xor.append((hi << 4) | lo)
        bits = 0
        for x in range(SIZE):
            bits = (bits << 1) | (1 if row[x] is None else 0)
        mask += bits.to_bytes(4, "big")
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 4, 0,
                         len(xor) + len(mask), 0, 0, 16, 0)
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for (r, g, b) in PALETTE)
    image = header + palette + bytes(xor) + bytes(mask)
    directory = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 16, 0, 1, 4, len(image), 6 + 16)
    return directory + entry + image


if __name__ == "__main__":
    out = os.path.join(os.path.dirname(os.path.abspath(__file__)), "velmor2.ico")
    with open(out, "wb") as f:
        f.write(icon_bytes())
