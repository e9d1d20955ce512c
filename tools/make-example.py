#!/usr/bin/env python3
"""Writes examples/bounce.gif: a ball bouncing over a gradient, our own sample animation.

64x48 GIF89a, one global palette of 64 colours, endless looping, 12 frames of 8/100 s.
Frame 7 marks the pixels that did not change since frame 6 transparent, as an optimizing
writer would. A document comment "Made for Anitrope" follows the last frame.

Standard library only, so it runs anywhere python3 does:  tools/make-example.py [OUT]
"""

import math
import struct
import sys
from pathlib import Path

WIDTH, HEIGHT = 64, 48
FRAMES = 12
DELAY = 8  # 1/100 s
COMMENT = b"Made for Anitrope"

# Palette layout: 0-39 the sky gradient, 40-55 the ball from dark to light, 56 the shadow,
# 57-62 unused black, 63 the transparent index of the optimized frame.
SKY_COLORS = 40
BALL_FIRST, BALL_SHADES = 40, 16
SHADOW = 56
TRANSPARENT = 63
PALETTE_BITS = 6

BALL_RADIUS = 7
GROUND = HEIGHT - 4  # y of the ball's lowest point
BOUNCE_HEIGHT = 26
OPTIMIZED_FRAME = 6  # zero-based


def palette():
    colors = []
    for i in range(SKY_COLORS):
        t = i / (SKY_COLORS - 1)
        colors.append((int(40 + 150 * t), int(90 + 120 * t), int(200 + 40 * t)))
    for i in range(BALL_SHADES):
        t = i / (BALL_SHADES - 1)
        colors.append((int(110 + 145 * t), int(20 + 150 * t), int(20 + 90 * t)))
    colors.append((60, 70, 90))  # shadow
    while len(colors) < 1 << PALETTE_BITS:
        colors.append((0, 0, 0))
    return colors


def ball_center(frame):
    """One bounce per loop: on the ground at frame 0, highest half-way, a parabola between."""
    phase = frame / FRAMES
    height = BOUNCE_HEIGHT * 4 * phase * (1 - phase)
    return WIDTH // 2, GROUND - BALL_RADIUS - height, height


def render(frame):
    cx, cy, height = ball_center(frame)
    # The shadow shrinks as the ball rises.
    shadow_rx = 9 - 5 * height / BOUNCE_HEIGHT
    pixels = bytearray()
    for y in range(HEIGHT):
        sky = y * (SKY_COLORS - 1) // (HEIGHT - 1)
        for x in range(WIDTH):
            dx, dy = x + 0.5 - cx, y + 0.5 - cy
            if dx * dx + dy * dy <= BALL_RADIUS * BALL_RADIUS:
                # Lit from the upper left: brighter towards that side.
                light = 1 - math.hypot(dx + 3, dy + 3) / (2 * BALL_RADIUS)
                shade = min(BALL_SHADES - 1, max(0, int(light * BALL_SHADES)))
                pixels.append(BALL_FIRST + shade)
            elif abs(y + 0.5 - (GROUND + 1.5)) < 1.5 and abs(x + 0.5 - cx) < shadow_rx:
                pixels.append(SHADOW)
            else:
                pixels.append(sky)
    return pixels


def lzw_encode(pixels, min_code_size):
    """GIF's variable-width LZW: codes LSB first, widths from min+1 up to 12."""
    clear, end = 1 << min_code_size, (1 << min_code_size) + 1
    out = bytearray()
    bits = 0
    bit_count = 0

    def emit(code, width):
        nonlocal bits, bit_count
        bits |= code << bit_count
        bit_count += width
        while bit_count >= 8:
            out.append(bits & 0xFF)
            bits >>= 8
            bit_count -= 8

    def fresh_table():
        return {bytes([i]): i for i in range(clear)}, end + 1, min_code_size + 1

    table, next_code, width = fresh_table()
    emit(clear, width)
    current = b""
    for value in pixels:
        candidate = current + bytes([value])
        if candidate in table:
            current = candidate
            continue
        emit(table[current], width)
        table[candidate] = next_code
        next_code += 1
        # The decoder widens once it has assigned a code that needs one more bit.
        if next_code > 1 << width and width < 12:
            width += 1
        if next_code == 4096:
            emit(clear, width)
            table, next_code, width = fresh_table()
        current = bytes([value])
    if current:
        emit(table[current], width)
    emit(end, width)
    if bit_count:
        out.append(bits & 0xFF)
    return bytes(out)


def lzw_decode(data, min_code_size, pixel_count):
    """The reverse, written independently, so the script checks its own output."""
    clear, end = 1 << min_code_size, (1 << min_code_size) + 1
    pos = 0
    bits = 0
    bit_count = 0
    out = bytearray()
    table, width, previous = None, None, None

    def reset():
        return [bytes([i]) for i in range(clear)] + [b"", b""], min_code_size + 1, None

    table, width, previous = reset()
    while True:
        while bit_count < width:
            bits |= data[pos] << bit_count
            pos += 1
            bit_count += 8
        code = bits & ((1 << width) - 1)
        bits >>= width
        bit_count -= width
        if code == clear:
            table, width, previous = reset()
            continue
        if code == end:
            break
        if code < len(table):
            entry = table[code]
            if previous is not None:
                table.append(previous + entry[:1])
        else:
            assert code == len(table) and previous is not None, "code beyond the table"
            entry = previous + previous[:1]
            table.append(entry)
        out += entry
        previous = entry
        if len(table) == 1 << width and width < 12:
            width += 1
    assert len(out) == pixel_count, (len(out), pixel_count)
    return bytes(out)


def sub_blocks(data):
    out = bytearray()
    for start in range(0, len(data), 255):
        chunk = data[start:start + 255]
        out.append(len(chunk))
        out += chunk
    out.append(0)
    return bytes(out)


def graphic_control(transparent_index=None):
    packed = 1 << 2  # disposal 1: leave the frame in place
    if transparent_index is not None:
        packed |= 1
    return b"\x21\xf9\x04" + struct.pack("<BHB", packed, DELAY, transparent_index or 0) + b"\x00"


def image(pixels):
    descriptor = b"\x2c" + struct.pack("<HHHHB", 0, 0, WIDTH, HEIGHT, 0)
    data = lzw_encode(pixels, PALETTE_BITS)
    if lzw_decode(data, PALETTE_BITS, len(pixels)) != bytes(pixels):
        raise SystemExit("LZW round trip failed")
    return descriptor + bytes([PALETTE_BITS]) + sub_blocks(data)


def unchanged_as_transparent(pixels, before):
    return bytearray(TRANSPARENT if p == b else p for p, b in zip(pixels, before))


def build():
    out = bytearray(b"GIF89a")
    # Global colour table of 2^6 entries, 8 bits of colour resolution, background 0.
    out += struct.pack("<HHBBB", WIDTH, HEIGHT, 0x80 | 0x70 | (PALETTE_BITS - 1), 0, 0)
    for color in palette():
        out += bytes(color)
    out += b"\x21\xff\x0bNETSCAPE2.0" + b"\x03\x01" + struct.pack("<H", 0) + b"\x00"
    previous = None
    for frame in range(FRAMES):
        pixels = render(frame)
        if frame == OPTIMIZED_FRAME:
            out += graphic_control(TRANSPARENT)
            out += image(unchanged_as_transparent(pixels, previous))
        else:
            out += graphic_control()
            out += image(pixels)
        previous = pixels
    out += b"\x21\xfe" + sub_blocks(COMMENT)
    out += b"\x3b"
    return bytes(out)


def main():
    default = Path(__file__).resolve().parent.parent / "examples" / "bounce.gif"
    target = Path(sys.argv[1]) if len(sys.argv) > 1 else default
    target.parent.mkdir(parents=True, exist_ok=True)
    data = build()
    target.write_bytes(data)
    print(f"wrote {target} ({len(data)} bytes)")


if __name__ == "__main__":
    main()
