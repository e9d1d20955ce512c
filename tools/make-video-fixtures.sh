#!/usr/bin/env bash
# Writes the small videos under tests/data/video/ that the video reader's tests read. They are
# committed; run this again only to change them (needs ffmpeg with libx264, and python3).
#   tools/make-video-fixtures.sh [DIR]
#
# pal8.avi    10 frames 16x12, uncompressed 8-bit with a palette. Frame k has index
#             (x + 2y + k) mod 8 at (x, y); frames 0-4 use palette A, frames 5-9 palette B
#             (a palette change chunk before frame 5), 8 colours each:
#               A: k -> (32k, 255 - 32k, 16)      B: k -> (16, 32k, 255 - 32k)
# mjpeg.avi   12 frames 32x24, Motion JPEG, 12 frames a second.
# h264.mp4    15 frames 32x24, H.264 with B-frames (-bf 2) and a key frame every 5 frames
#             (-g 5, no scene-cut key frames), 15 frames a second.
#
# Every frame of the last two is one flat colour that says its number after lossy coding:
# frame k is (16k + 8, 248 - 16k, 128).
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
dir=${1:-$repo/tests/data/video}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$dir"

python3 - "$work" <<'EOF'
import struct, sys, zlib

def chunk(kind, data):
    body = kind + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

def palette_png(path, width, height, palette, index):
    rows = b"".join(b"\0" + bytes(index(x, y) for x in range(width)) for y in range(height))
    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n")
        f.write(chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 3, 0, 0, 0)))
        f.write(chunk(b"PLTE", b"".join(bytes(c) for c in palette)))
        f.write(chunk(b"IDAT", zlib.compress(rows)))
        f.write(chunk(b"IEND", b""))

a = [(32 * k, 255 - 32 * k, 16) for k in range(8)]
b = [(16, 32 * k, 255 - 32 * k) for k in range(8)]
for k in range(10):
    palette_png(f"{sys.argv[1]}/pal8-{k:02d}.png", 16, 12, a if k < 5 else b,
                lambda x, y: (x + 2 * y + k) % 8)
EOF

ffmpeg -v error -y -framerate 10 -i "$work/pal8-%02d.png" -c:v rawvideo -pix_fmt pal8 \
  "$dir/pal8.avi"

# One flat colour per frame, from the frame number n.
numbered="color=c=black:s=32x24:r=RATE,format=rgb24,geq=r='16*N+8':g='248-16*N':b=128"
ffmpeg -v error -y -f lavfi -i "${numbered/RATE/12}" -frames:v 12 -c:v mjpeg -q:v 3 \
  -pix_fmt yuvj420p "$dir/mjpeg.avi"
ffmpeg -v error -y -f lavfi -i "${numbered/RATE/15}" -frames:v 15 -c:v libx264 -g 5 -bf 2 \
  -x264-params scenecut=0 -pix_fmt yuv420p "$dir/h264.mp4"
ls -l "$dir"
