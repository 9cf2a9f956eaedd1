#!/bin/sh
# Renders the hand-drawn icon sources into the PNG resources the program
# loads, at their natural size and at twice that size for high-DPI screens
# (Qt picks "name@2x.png" by itself). Run after editing an SVG; commit both.
set -eu
cd "$(dirname "$0")"
for group in main statusbar theme; do
    out="../Resources/$group"
    mkdir -p "$out"
    for svg in "$group"/*.svg; do
        name=$(basename "$svg" .svg)
        size=$(sed -n 's/.*<svg[^>]* width="\([0-9]*\)".*/\1/p' "$svg" | head -n 1)
        rsvg-convert -w "$size" -h "$size" -o "$out/$name.png" "$svg"
        rsvg-convert -w $((size * 2)) -h $((size * 2)) -o "$out/$name@2x.png" "$svg"
    done
done
