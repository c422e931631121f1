#!/usr/bin/env python3
"""Writes kwivo.ico: the strip's orange tile with a white prompt ">" and a black
completion bar, at 32x32 and 16x16, 16 colours each.

Run from this folder after changing the drawing: python3 make_icon.py
"""
import struct

# Palette indices; the rest of the 16 entries stay black.
CLEAR, ORANGE, EDGE, WHITE, BLACK = 0, 1, 2, 3, 4
PALETTE = [(0, 0, 0), (232, 95, 25), (150, 55, 10), (255, 255, 255), (0, 0, 0)]
PALETTE += [(0, 0, 0)] * (16 - len(PALETTE))


def draw(size):
    """Pixels of one image, top row first, as palette indices."""
    s = size / 32.0
    radius = 5 * s
    pixels = [[CLEAR] * size for _ in range(size)]
    for y in range(size):
        for x in range(size):
            # Rounded square: the distance to the nearest inner corner point.
            cx = min(max(x + 0.5, radius), size - radius)
            cy = min(max(y + 0.5, radius), size - radius)
            d = ((x + 0.5 - cx) ** 2 + (y + 0.5 - cy) ** 2) ** 0.5
            if d > radius:
                continue
            pixels[y][x] = EDGE if d > radius - 1.2 or x in (0, size - 1) or y in (0, size - 1) \
                else ORANGE
    # The prompt: two strokes meeting at the right, three pixels thick at 32.
    thick = max(1, round(3 * s))
    tip_x, top, bottom, left = round(17 * s), round(8 * s), round(24 * s), round(6 * s)
    mid = (top + bottom) / 2.0
    for y in range(top, bottom):
        t = 1 - abs(y + 0.5 - mid) / (mid - top)
        x0 = round(left + t * (tip_x - left - thick))
        for x in range(x0, x0 + thick + 1):
            pixels[y][x] = WHITE
    # The completion: a black bar after the prompt.
    for y in range(round(19 * s), round(23 * s)):
        for x in range(round(19 * s), round(27 * s)):
            pixels[y][x] = BLACK
    return pixels


def bitmap(pixels):
    """One icon image: BITMAPINFOHEADER, palette, 4-bit colour rows, 1-bit mask."""
    size = len(pixels)
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 4, 0, 0, 0, 0, 16, 0)
    palette = b''.join(struct.pack('<BBBB', b, g, r, 0) for r, g, b in PALETTE)
    colour_stride = (size * 4 + 31) // 32 * 4
    mask_stride = (size + 31) // 32 * 4
    colour, mask = b'', b''
    for row in reversed(pixels):  # bottom-up
        packed = bytearray(colour_stride)
        bits = bytearray(mask_stride)
        for x, p in enumerate(row):
            packed[x // 2] |= p << (4 if x % 2 == 0 else 0)
            if p == CLEAR:
                bits[x // 8] |= 0x80 >> (x % 8)
        colour += bytes(packed)
        mask += bytes(bits)
    return header + palette + colour + mask


def main():
    images = [bitmap(draw(32)), bitmap(draw(16))]
    out = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, data in zip((32, 16), images):
        out += struct.pack('<BBBBHHII', size, size, 16, 0, 1, 4, len(data), offset)
        offset += len(data)
    with open('kwivo.ico', 'wb') as f:
        f.write(out + b''.join(images))


if __name__ == '__main__':
    main()
