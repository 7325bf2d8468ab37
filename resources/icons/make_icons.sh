#!/bin/sh
# Draws the window icon's pictures from ambrelux.svg with ImageMagick, at the
# sizes window managers and task bars ask for; the program carries them so
# it needs no SVG support of its own. Run from this folder; the output is
# committed as is.
set -eu
for size in 16 32 64 256; do
  # 4 times the density the size needs, then scaled down, for smooth edges.
  convert -background none -density $((72 * size / 64 * 4)) ambrelux.svg \
    -resize "${size}x${size}" -depth 8 -strip "ambrelux-$size.png"
done
