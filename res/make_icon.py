#!/usr/bin/env python3
"""Draws the consent dialog's icon and writes it as a .ico file.

One 32 x 32 image in 16 colours: a green disc with a white tick, a black
outline and a grey shadow to the lower right. Drawn from geometry, so the
same script always writes the same bytes.

usage: make_icon.py OUTPUT_ICO
"""

import math
import struct
import sys

SIZE = 32

# The standard 16-colour palette, as (red, green, blue).
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
BLACK, GREEN, GREY, WHITE = 0, 2, 8, 15
TRANSPARENT = None

CENTRE = 14.5          # the disc sits up and left to leave room for the shadow
RADIUS = 13.0
OUTLINE = 1.5
SHADOW_OFFSET = 2.0
TICK = [(8.0, 15.0), (12.5, 19.5), (21.0, 9.5)]
TICK_HALF_WIDTH = 1.8


def distance_to_segment(x, y, start, end):
    (ax, ay), (bx, by) = start, end
    dx, dy = bx - ax, by - ay
    t = max(0.0, min(1.0, ((x - ax) * dx + (y - ay) * dy) / (dx * dx + dy * dy)))
    return math.hypot(x - (ax + t * dx), y - (ay + t * dy))


def colour_at(column, row):
    """Palette index of a pixel, or TRANSPARENT. Rows count from the top."""
    x, y = column + 0.5, row + 0.5
    from_centre = math.hypot(x - CENTRE, y - CENTRE)
    if from_centre <= RADIUS - OUTLINE:
        on_tick = min(distance_to_segment(x, y, TICK[i], TICK[i + 1]) for i in range(len(TICK) - 1))
        return WHITE if on_tick <= TICK_HALF_WIDTH else GREEN
    if from_centre <= RADIUS:
        return BLACK
    if math.hypot(x - CENTRE - SHADOW_OFFSET, y - CENTRE - SHADOW_OFFSET) <= RADIUS:
        return GREY
    return TRANSPARENT


def icon_image():
    """BITMAPINFOHEADER, palette, 4-bit colour rows and 1-bit mask rows, bottom row first."""
    pixels = [[colour_at(column, row) for column in range(SIZE)] for row in range(SIZE)]
    colour_rows = bytearray()
    mask_rows = bytearray()
    for row in reversed(pixels):
        indexes = [BLACK if pixel is TRANSPARENT else pixel for pixel in row]
        colour_rows += bytes((indexes[i] << 4) | indexes[i + 1] for i in range(0, SIZE, 2))
        mask_bits = 0
        for pixel in row:
            mask_bits = (mask_bits << 1) | (pixel is TRANSPARENT)
        mask_rows += mask_bits.to_bytes(SIZE // 8, "big")
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, 2 * SIZE, 1, 4, 0,
                         len(colour_rows) + len(mask_rows), 0, 0, 0, 0)
    palette = b"".join(struct.pack("<BBBB", blue, green, red, 0) for red, green, blue in PALETTE)
    return header + palette + colour_rows + mask_rows


def main(output_path):
    image = icon_image()
    directory = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, len(PALETTE), 0, 1, 4, len(image),
                        len(directory) + 16)
    with open(output_path, "wb") as output:
        output.write(directory + entry + image)


if __name__ == "__main__":
    if len(sys.argv) != 2:
        sys.exit(__doc__.strip().splitlines()[-1])
    main(sys.argv[1])
