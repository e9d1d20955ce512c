#!/usr/bin/env bash
# Makes the benchmark corpus from synthetic video, so no file has to be downloaded:
#   tools/make-bench-corpus.sh DIR
set -euo pipefail
dir=$1
mkdir -p "$dir"
make_gif() {  # name source size frames
  local out="$dir/$1.gif"
  [ -s "$out" ] && return
  # A finite source: the palette pass waits for the end of the input.
  ffmpeg -v error -y -t "$(($4 / 25))" -f lavfi -i "$2=size=$3:rate=25" \
    -filter_complex "split[a][b];[a]palettegen=stats_mode=diff[p];[b][p]paletteuse=dither=none" "$out"
}
make_gif testsrc2-320x240 testsrc2 320x240 125
make_gif mandelbrot-640x480 mandelbrot 640x480 50
make_gif life-800x600 life 800x600 300
make_gif testsrc2-800x600 testsrc2 800x600 50
