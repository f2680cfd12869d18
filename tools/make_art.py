#!/usr/bin/env python3
"""Draws the program icon (ui/art/morvel.ico) and the link cursor (ui/art/hand.cur).

The icon is a magnifying glass over a blue search bar; the cursor a pointing hand
(32x32, hot spot 12,6). Run it again after changing the drawing; the files are committed.
"""
import math
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))
ART = os.path.join(HERE, "..", "ui", "art")


def dib(pixels, size):
    """32-bit BGRA DIB with AND mask, as icon and cursor files hold them."""
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    rows = b""
    for y in range(size - 1, -1, -1):
        for x in range(size):
            r, g, b, a = pixels[y][x]
            rows += bytes((b, g, r, a))
    mask_row_bytes = ((size + 31) // 32) * 4
    mask = b""
    for y in range(size - 1, -1, -1):
        bits = 0
        row = bytearray(mask_row_bytes)
        for x in range(size):
            if pixels[y][x][3] == 0:
                row[x // 8] |= 0x80 >> (x % 8)
        mask += bytes(row)
        del bits
    return header + rows + mask


def icon_pixels(size):
    s = size / 32.0
    px = [[(0, 0, 0, 0)] * size for _ in range(size)]
    for y in range(size):
        for x in range(size):
            fx, fy = (x + 0.5) / s, (y + 0.5) / s
            # rounded blue square
            inside = 1.5 <= fx <= 30.5 and 1.5 <= fy <= 30.5
            cx = min(max(fx, 6), 26)
            cy = min(max(fy, 6), 26)
            if inside and math.hypot(fx - cx, fy - cy) <= 4.5:
                t = fy / 32.0
                px[y][x] = (int(30 + 40 * t), int(110 + 40 * t), int(220 - 30 * t), 255)
            # lens ring
            d = math.hypot(fx - 13, fy - 13)
            if d <= 8.5:
                px[y][x] = (235, 245, 255, 255) if d <= 6.2 else (255, 255, 255, 255)
            # handle
            hx, hy = fx - 19, fy - 19
            along = (hx + hy) / math.sqrt(2)
            across = abs(hx - hy) / math.sqrt(2)
            if -1 <= along <= 8.5 and across <= 2.2:
                px[y][x] = (255, 200, 60, 255)
    return px


def hand_pixels():
    size = 32
    px = [[(0, 0, 0, 0)] * size for _ in range(size)]
    black, white = (0, 0, 0, 255), (255, 255, 255, 255)

    def fill(x0, y0, x1, y1, c):
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                px[y][x] = c

    # index finger (tip at 12,6)
    fill(10, 5, 14, 17, black)
    fill(11, 6, 13, 17, white)
    # other fingers
    for x0 in (14, 18, 22):
        fill(x0, 11, x0 + 4, 18, black)
        fill(x0 + 1, 12, x0 + 3, 18, white)
    # palm
    fill(8, 17, 26, 27, black)
    fill(9, 17, 25, 26, white)
    # thumb
    fill(5, 15, 10, 20, black)
    fill(6, 16, 10, 19, white)
    return px


def write_icon(path, sizes):
    images = [dib(icon_pixels(s), s) for s in sizes]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for s, img in zip(sizes, images):
        out += struct.pack("<BBBBHHII", s % 256, s % 256, 0, 0, 1, 32, len(img), offset)
        offset += len(img)
    with open(path, "wb") as f:
        f.write(out + b"".join(images))


def write_cursor(path, hot):
    img = dib(hand_pixels(), 32)
    out = struct.pack("<HHH", 0, 2, 1)
    out += struct.pack("<BBBBHHII", 32, 32, 0, 0, hot[0], hot[1], len(img), 6 + 16)
    with open(path, "wb") as f:
        f.write(out + img)


if __name__ == "__main__":
    os.makedirs(ART, exist_ok=True)
    write_icon(os.path.join(ART, "morvel.ico"), [16, 32, 48])
    write_cursor(os.path.join(ART, "hand.cur"), (12, 6))
