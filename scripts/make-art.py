#!/usr/bin/env python3
"""Draws the program's icon (48 x 48) and banner (433 x 79), both 24-bit,
into app/res. Run it again after changing the pictures; the results are
committed so the build needs no Python."""
import math
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(HERE, "..", "app", "res")

# A 5 x 7 pixel font for the few letters the banner needs.
FONT = {
    "Q": ["01110", "10001", "10001", "10001", "10101", "10010", "01101"],
    "U": ["10001", "10001", "10001", "10001", "10001", "10001", "01110"],
    "E": ["11111", "10000", "10000", "11110", "10000", "10000", "11111"],
    "L": ["10000", "10000", "10000", "10000", "10000", "10000", "11111"],
    "V": ["10001", "10001", "10001", "10001", "10001", "01010", "00100"],
    "O": ["01110", "10001", "10001", "10001", "10001", "10001", "01110"],
    "P": ["11110", "10001", "10001", "11110", "10000", "10000", "10000"],
    "D": ["11110", "10001", "10001", "10001", "10001", "10001", "11110"],
    "A": ["01110", "10001", "10001", "11111", "10001", "10001", "10001"],
    "T": ["11111", "00100", "00100", "00100", "00100", "00100", "00100"],
    "R": ["11110", "10001", "10001", "11110", "10100", "10010", "10001"],
    "F": ["11111", "10000", "10000", "11110", "10000", "10000", "10000"],
    "I": ["01110", "00100", "00100", "00100", "00100", "00100", "01110"],
    "M": ["10001", "11011", "10101", "10101", "10001", "10001", "10001"],
    "W": ["10001", "10001", "10001", "10101", "10101", "10101", "01010"],
    " ": ["00000"] * 7,
}


def canvas(w, h, colour):
    return [[colour for _ in range(w)] for _ in range(h)]


def text(pixels, x, y, s, scale, colour):
    for ch in s:
        for row, bits in enumerate(FONT[ch]):
            for col, bit in enumerate(bits):
                if bit == "1":
                    for dy in range(scale):
                        for dx in range(scale):
                            px, py = x + col * scale + dx, y + row * scale + dy
                            if 0 <= py < len(pixels) and 0 <= px < len(pixels[0]):
                                pixels[py][px] = colour
        x += 6 * scale


def rows_bgr(pixels):
    """Bottom-up rows of BGR bytes, each padded to 4 bytes."""
    out = b""
    for row in reversed(pixels):
        line = b"".join(bytes((b, g, r)) for (r, g, b) in row)
        out += line + b"\0" * ((4 - len(line) % 4) % 4)
    return out


def banner():
    w, h = 433, 79
    px = canvas(w, h, (0, 0, 0))
    for y in range(h):
        for x in range(w):
            t = x / (w - 1)
            px[y][x] = (int(10 + 20 * t), int(60 + 68 * (1 - t)), int(110 + 60 * t))
    # A stylised device with a download arrow on the left.
    for y in range(14, 66):
        for x in range(22, 62):
            px[y][x] = (230, 236, 240)
    for y in range(20, 50):
        for x in range(28, 56):
            px[y][x] = (30, 90, 140)
    for y in range(24, 40):
        for x in range(39, 45):
            px[y][x] = (255, 255, 255)
    for i in range(8):
        for x in range(34 + i, 50 - i):
            px[40 + i][x] = (255, 255, 255)
    for y in range(55, 60):
        for x in range(34, 50):
            px[y][x] = (30, 90, 140)
    text(px, 84, 16, "QUELVO", 4, (255, 255, 255))
    text(px, 86, 52, "FIRMWARE UPDATE", 2, (200, 230, 240))
    data = rows_bgr(px)
    header = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    file_header = struct.pack("<2sIHHI", b"BM", 14 + len(header) + len(data), 0, 0, 54)
    with open(os.path.join(OUT, "banner.bmp"), "wb") as f:
        f.write(file_header + header + data)


def icon():
    n = 48
    px = canvas(n, n, (0, 0, 0))
    mask = [[1] * n for _ in range(n)]
    for y in range(n):
        for x in range(n):
            # A rounded square.
            cx, cy = min(max(x, 8), 39), min(max(y, 8), 39)
            if math.hypot(x - cx, y - cy) <= 8:
                mask[y][x] = 0
                px[y][x] = (20, 100 + y, 160)
    for y in range(10, 28):
        for x in range(21, 27):
            px[y][x] = (255, 255, 255)
    for i in range(11):
        for x in range(13 + i, 35 - i):
            px[28 + i][x] = (255, 255, 255)
    xor = rows_bgr(px)
    andmask = b""
    for row in reversed(mask):
        bits = 0
        line = b""
        for x, m in enumerate(row):
            bits = (bits << 1) | m
            if x % 8 == 7:
                line += bytes((bits,))
                bits = 0
        andmask += line + b"\0" * ((4 - len(line) % 4) % 4)
    header = struct.pack("<IiiHHIIiiII", 40, n, n * 2, 1, 24, 0, len(xor) + len(andmask), 0, 0, 0, 0)
    image = header + xor + andmask
    directory = struct.pack("<HHH", 0, 1, 1) + struct.pack("<BBBBHHII", n, n, 0, 0, 1, 24, len(image), 22)
    with open(os.path.join(OUT, "quelvo.ico"), "wb") as f:
        f.write(directory + image)


if __name__ == "__main__":
    os.makedirs(OUT, exist_ok=True)
    banner()
    icon()
