#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Renders the application icon's PNG sizes from quibo.svg (needs rsvg-convert,
# Debian package librsvg2-bin). The PNGs are committed; run this after
# changing the SVG.
set -e
cd "$(dirname "$0")"
for size in 16 32 48 64 128 256; do
  rsvg-convert -w "$size" -h "$size" quibo.svg -o "quibo-$size.png"
done
