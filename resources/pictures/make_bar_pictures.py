#!/usr/bin/env python3
"""Writes the three bar pictures (168 capacity, 169 charge, 170 life) as XPM.

Each is 160 x 18: a vertical gradient, dark enough for the white caption on
top of it to stay readable, with a light line at the top and a segment mark
every 16 pixels. Run from this folder; the output is committed as is.
"""
import colorsys

WIDTH, HEIGHT = 160, 18
BARS = {168: ("capacity", 0.58), 169: ("charge", 0.36), 170: ("life", 0.09)}
SYMBOLS = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789"


def hex_colour(hue, lightness, saturation=0.75):
    r, g, b = colorsys.hls_to_rgb(hue, lightness, saturation)
    return "#%02X%02X%02X" % (round(r * 255), round(g * 255), round(b * 255))


for number, (name, hue) in BARS.items():
    colours, rows = [], []
    for y in range(HEIGHT):
        lightness = 0.62 if y == 0 else 0.50 - 0.22 * y / (HEIGHT - 1)
        plain, mark = SYMBOLS[2 * y], SYMBOLS[2 * y + 1]
        colours += [(plain, hex_colour(hue, lightness)), (mark, hex_colour(hue, lightness - 0.10))]
        rows.append("".join(mark if x % 16 == 15 else plain for x in range(WIDTH)))
    lines = ["/* XPM */",
             f"/* {name} bar, {WIDTH}x{HEIGHT}: made by make_bar_pictures.py */",
             f"static const char *bar_{number}[] = {{",
             f'"{WIDTH} {HEIGHT} {len(colours)} 1",']
    lines += [f'"{s} c {c}",' for s, c in colours]
    lines += [f'"{row}",' for row in rows[:-1]] + [f'"{rows[-1]}"', "};"]
    with open(f"{number}.xpm", "w") as out:
        out.write("\n".join(lines) + "\n")
