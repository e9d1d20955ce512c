#!/usr/bin/env bash
# Makes the benchmark corpus from synthetic video and generated pictures, so no file has to be
# downloaded:
#   tools/make-bench-corpus.sh DIR
# Animations are NAME-WxH-Nf.gif, true-colour stills NAME-WxH.png. Files already there are
# kept, so a changed recipe needs a new name (or an empty DIR). DIR/corpus.list names this
# corpus's files, one per line, so that files of an older corpus left in DIR are not measured.
set -euo pipefail
dir=$1
mkdir -p "$dir"
# ImageMagick 6 by its own name: `convert` may be something else on a developer's machine.
magick=/usr/bin/convert-im6.q16
list=()

make_gif() {  # source size frames [more source options]
  local name="$1-$2-$3f.gif"
  list+=("$name")
  [ -s "$dir/$name" ] && return
  # A finite source: the palette pass waits for the end of the input. 25 frames a second.
  local seconds
  seconds=$(printf '%d.%02d' $(($3 / 25)) $(($3 % 25 * 4)))
  ffmpeg -v error -y -t "$seconds" -f lavfi -i "$1=size=$2:rate=25${4:-}" \
    -filter_complex "split[a][b];[a]palettegen=stats_mode=diff[p];[b][p]paletteuse=dither=none" \
    "$dir/$name"
}

# One frame of a lavfi source, taken `at` seconds in.
make_still() {  # name size source at
  local name="$1-$2.png"
  list+=("$name")
  [ -s "$dir/$name" ] && return
  ffmpeg -v error -y -f lavfi -i "$3" -ss "$4" -frames:v 1 "$dir/$name"
}

# A video for the import row: NAME-WxH-Nf.EXT of `source` at 25 frames a second.
make_video() {  # source size frames ext [encoder options]
  local name="$1-$2-$3f.$4"
  list+=("$name")
  [ -s "$dir/$name" ] && return
  ffmpeg -v error -y -f lavfi -i "$1=size=$2:rate=25" -frames:v "$3" "${@:5}" "$dir/$name"
}

# From the fewest to the most pixels over all frames.
make_gif testsrc2 320x240 125
make_gif mandelbrot 640x480 50
# life starts from a random grid unless it is given a seed.
make_gif life 320x240 300 :seed=7
make_gif testsrc2 800x600 50
make_gif life 800x600 75 :seed=7

# Flat areas and sharp edges with a few thousand colours.
make_still testsrc2 640x480 "testsrc2=size=640x480:rate=25" 1.3
# Smooth colour bands, about seventeen thousand colours.
make_still mandelbrot 1280x720 "mandelbrot=size=1280x720:rate=25" 3
# A wide smooth gradient: banding shows every misplaced palette colour.
gradient="gradients=size=1920x1080:type=spiral:x0=0:y0=0:x1=1919:y1=1079:n=6"
gradient+=":c0=0xd02030:c1=0xf0c040:c2=0x30a050:c3=0x2040c0:c4=0xa030b0:c5=0xf0f0f0"
make_still gradient 1920x1080 "$gradient" 0
# Noise-like, nearly every pixel its own colour, as in a photograph.
name=plasma-800x600.png
list+=("$name")
# Without its time stamps the file is the same on every run.
[ -s "$dir/$name" ] || "$magick" -seed 5 -size 800x600 plasma:fuchsia-teal \
  -define png:exclude-chunks=date,time "$dir/$name"

# Motion JPEG in AVI (every frame a key frame) and H.264 in MP4 (x264's defaults: B-frames,
# a key frame every 250 frames at most).
make_video testsrc2 640x480 300 avi -c:v mjpeg -q:v 3 -pix_fmt yuvj420p
make_video testsrc2 640x480 300 mp4 -c:v libx264 -pix_fmt yuv420p

printf '%s\n' "${list[@]}" > "$dir/corpus.list"
