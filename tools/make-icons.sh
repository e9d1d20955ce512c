#!/usr/bin/env bash
# Renders share/icons/anitrope.svg into the PNG sizes the desktop's icon theme looks for,
# share/icons/anitrope-N.png. They are committed; run this again after changing the SVG
# (needs rsvg-convert from librsvg2-bin, and optipng when installed).
set -euo pipefail
icons=$(cd "$(dirname "$0")/../share/icons" && pwd)
for size in 16 32 48 64 128 256; do
  rsvg-convert --width "$size" --height "$size" --output "$icons/anitrope-$size.png.tmp" \
    "$icons/anitrope.svg"
  if command -v optipng >/dev/null; then optipng -quiet -o7 "$icons/anitrope-$size.png.tmp"; fi
  mv "$icons/anitrope-$size.png.tmp" "$icons/anitrope-$size.png"
done
