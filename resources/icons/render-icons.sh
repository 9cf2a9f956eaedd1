#!/bin/sh
# Renders the hand-drawn icon sources into the PNG resources the program
# loads, at their natural size and at twice that size for high-DPI screens
# (Qt picks "name@2x.png" by itself). Run after editing an SVG; commit both.
set -eu
cd "$(dirname "$0")"
# Every folder of icons is a resource group of the same name.
for group in */; do
    group=${group%/}
    out="../Resources/$group"
    mkdir -p "$out"
    for svg in "$group"/*.svg; do
        name=$(basename "$svg" .svg)
        size=$(sed -n 's/.*<svg[^>]* width="\([0-9]*\)".*/\1/p' "$svg" | head -n 1)
        rsvg-convert -w "$size" -h "$size" -o "$out/$name.png" "$svg"
        rsvg-convert -w $((size * 2)) -h $((size * 2)) -o "$out/$name@2x.png" "$svg"
    done
done

# The application icon, and the launcher's three Windows icon groups
# (application, transmit protocol, protocol set) with their sizes.
rsvg-convert -w 128 -h 128 -o ../Resources/app/dorvane.png dorvane.svg
# The desktop's icon theme sizes, installed under share/icons/hicolor.
for size in 16 22 24 32 48 64 128 256 512; do
    mkdir -p "../linux/icons/${size}x${size}"
    rsvg-convert -w "$size" -h "$size" -o "../linux/icons/${size}x${size}/dorvane.png" dorvane.svg
done
if command -v convert >/dev/null 2>&1; then
    tmp=$(mktemp -d)
    ico() {
        source=$1 target=$2
        shift 2
        pngs=""
        for size in "$@"; do
            rsvg-convert -w "$size" -h "$size" -o "$tmp/$size.png" "$source"
            pngs="$pngs $tmp/$size.png"
        done
        convert $pngs "$target"
        rm -f "$tmp"/*.png
    }
    ico dorvane.svg ../../launcher/win/dorvane.ico 128 72 64 48 32 24 16
    ico dvptc.svg ../../launcher/win/dvptc.ico 128 96 72 64 48 32 24 16
    ico dvpts.svg ../../launcher/win/dvpts.ico 128 96 72 64 48 32 24 16
    rmdir "$tmp"
else
    echo "ImageMagick's convert is missing: the Windows icon files were not rendered" >&2
fi
