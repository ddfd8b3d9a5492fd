#!/bin/sh
# Renders the PNG sizes of the application icon from its SVG. Run by hand after changing
# the SVG, and commit the results (needs librsvg2-bin and optipng).
set -eu
cd "$(dirname "$0")/hicolor"
svg=scalable/apps/jp.tornak.TornakCabrillo.svg
for size in 16 22 24 32 48 64 128 256; do
    mkdir -p "${size}x${size}/apps"
    png="${size}x${size}/apps/jp.tornak.TornakCabrillo.png"
    rsvg-convert -w "$size" -h "$size" "$svg" -o "$png"
    optipng -quiet -o7 -strip all "$png"
done
