#!/usr/bin/env python3
"""Writes the three bar pictures (168 capacity, 169 charge, 170 life) as XPM.

Each is 160 x 18: a vertical gradient with a light line at the top and a
segment mark every 16 pixels. The white caption drawn over a bar must stay
readable, so below that line every colour reaches a contrast of 4.5:1 with
white (WCAG); each bar takes the brightest gradient that does, and the script
refuses to write one that doesn't. Run from this folder; the output is
committed as is.
"""
import colorsys
import sys

WIDTH, HEIGHT = 160, 18
BARS = {168: ("capacity", 0.58), 169: ("charge", 0.36), 170: ("life", 0.09)}
SYMBOLS = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789"
MIN_CONTRAST = 4.5
TOP_LINE = 0.62  # lightness of the line at the top, which no caption reaches
MARK_STEP = 0.10  # a segment mark is this much darker than its row


def rgb(hue, lightness, saturation=0.75):
    return tuple(round(c * 255) for c in colorsys.hls_to_rgb(hue, max(lightness, 0.0), saturation))


def contrast_with_white(colour):
    def linear(c):
        c /= 255
        return c / 12.92 if c <= 0.04045 else ((c + 0.055) / 1.055) ** 2.4

    r, g, b = (linear(c) for c in colour)
    return 1.05 / (0.2126 * r + 0.7152 * g + 0.0722 * b + 0.05)


def row_lightness(top, y):
    """The gradient darkens from `top` to a little over half of it."""
    return TOP_LINE if y == 0 else top * (1 - 0.44 * (y - 1) / (HEIGHT - 2))


def row_colours(hue, top, y):
    lightness = row_lightness(top, y)
    return rgb(hue, lightness), rgb(hue, lightness - MARK_STEP)


def readable(hue, top):
    return all(contrast_with_white(c) >= MIN_CONTRAST for y in range(1, HEIGHT) for c in row_colours(hue, top, y))


def brightest_readable_top(hue):
    top = 0.50
    while not readable(hue, top):
        top -= 0.005
        if top <= 0:
            sys.exit(f"no gradient of hue {hue} keeps a white caption readable")
    return top


def hex_colour(colour):
    return "#%02X%02X%02X" % colour


for number, (name, hue) in BARS.items():
    top = brightest_readable_top(hue)
    colours, rows = [], []
    for y in range(HEIGHT):
        plain, mark = SYMBOLS[2 * y], SYMBOLS[2 * y + 1]
        plain_colour, mark_colour = row_colours(hue, top, y)
        colours += [(plain, hex_colour(plain_colour)), (mark, hex_colour(mark_colour))]
        rows.append("".join(mark if x % 16 == 15 else plain for x in range(WIDTH)))
    lines = ["/* XPM */",
             f"/* {name} bar, {WIDTH}x{HEIGHT}: made by make_bar_pictures.py */",
             f"static const char *bar_{number}[] = {{",
             f'"{WIDTH} {HEIGHT} {len(colours)} 1",']
    lines += [f'"{s} c {c}",' for s, c in colours]
    lines += [f'"{row}",' for row in rows[:-1]] + [f'"{rows[-1]}"', "};"]
    with open(f"{number}.xpm", "w") as out:
        out.write("\n".join(lines) + "\n")
    worst = min(contrast_with_white(c) for y in range(1, HEIGHT) for c in row_colours(hue, top, y))
    print(f"{number}.xpm ({name}): top lightness {top:.3f}, white caption contrast at least {worst:.2f}:1")
