#!/usr/bin/env python3
"""Draws the calculator's icon, a tournament chip carrying a small bar chart,
at 16, 32 and 48 pixels, and writes them as ostrel.ico (32-bit images with
alpha). Run by hand when the picture changes; the .ico is kept in the tree."""
import math
import struct
import sys

RING = (22, 120, 70)      # chip edge
SPOT = (245, 245, 240)    # edge inlays
FACE = (250, 246, 232)    # chip face
LINE = (22, 90, 55)       # thin ring round the face
BARS = (190, 30, 30)      # the equity bars


def colour_at(x, y, size):
    """Colour and coverage of one sample point, in a unit picture of the chip."""
    c = (size - 1) / 2.0
    dx, dy = (x - c) / (size / 2.0), (y - c) / (size / 2.0)
    r = math.hypot(dx, dy)
    if r > 0.96:
        return None
    if r > 0.66:
        angle = (math.degrees(math.atan2(dy, dx)) + 360 + 22.5) % 45
        if 0.74 < r < 0.9 and angle < 16:
            return SPOT
        return RING
    if r > 0.6:
        return LINE
    # three bars rising to the right on the face
    bars = [(-0.38, -0.18, 0.05), (-0.12, 0.08, -0.17), (0.14, 0.34, -0.39)]
    for left, right, top in bars:
        if left <= dx <= right and top <= dy <= 0.36:
            return BARS
    return FACE


def render(size, samples=4):
    pixels = []
    for y in range(size):
        row = []
        for x in range(size):
            totals = [0.0, 0.0, 0.0, 0.0]
            for sy in range(samples):
                for sx in range(samples):
                    px = x - 0.5 + (sx + 0.5) / samples
                    py = y - 0.5 + (sy + 0.5) / samples
                    colour = colour_at(px, py, size)
                    if colour is not None:
                        for i in range(3):
                            totals[i] += colour[i]
                        totals[3] += 1
            n = totals[3]
            if n == 0:
                row.append((0, 0, 0, 0))
            else:
                row.append((round(totals[0] / n), round(totals[1] / n), round(totals[2] / n),
                            round(255 * n / (samples * samples))))
        pixels.append(row)
    return pixels


def dib(size):
    pixels = render(size)
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    body = bytearray()
    for row in reversed(pixels):  # bottom-up
        for r, g, b, a in row:
            body += bytes((b, g, r, a))
    mask_stride = ((size + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(pixels):
        bits = bytearray(mask_stride)
        for x, (_, _, _, a) in enumerate(row):
            if a == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    return header + bytes(body) + bytes(mask)


def main(path):
    sizes = [32, 16, 48]  # 32 first: the size a static picks when none is asked for
    images = [dib(s) for s in sizes]
    out = bytearray(struct.pack('<HHH', 0, 1, len(sizes)))
    offset = 6 + 16 * len(sizes)
    for size, image in zip(sizes, images):
        out += struct.pack('<BBBBHHII', size, size, 0, 0, 1, 32, len(image), offset)
        offset += len(image)
    for image in images:
        out += image
    with open(path, 'wb') as f:
        f.write(out)


if __name__ == '__main__':
    main(sys.argv[1] if len(sys.argv) > 1 else 'ostrel.ico')
