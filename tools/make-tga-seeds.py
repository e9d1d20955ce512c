#!/usr/bin/env python3
"""Writes the TGA reader's fuzz seeds to fuzz/seeds/tga_reader/: one small file for each
image type, several depths and all four origins, with ID fields, skipped and used colour
maps, and run-length packets that cross rows.

Standard library only:  tools/make-tga-seeds.py [OUT_DIR]
"""

import struct
import sys
from pathlib import Path


def tga(kind, width, height, bits, descriptor, pixels, ident=b"", cmap=None):
    """cmap is (first index, entry bits, entry bytes) or None."""
    first, entry_bits, entries = cmap or (0, 0, b"")
    entry_bytes = (entry_bits + 7) // 8
    length = len(entries) // entry_bytes if cmap else 0
    header = struct.pack("<BBBHHBHHHHBB", len(ident), 1 if cmap else 0, kind, first, length,
                         entry_bits, 0, 0, width, height, bits, descriptor)
    return header + ident + entries + pixels


def gradient(count, step):
    return bytes((i * step) & 0xFF for i in range(count))


def run(count, pixel):
    return bytes([0x80 | (count - 1)]) + pixel


def raw(pixels, size):
    return bytes([len(pixels) // size - 1]) + pixels


SEEDS = {
    "raw24-bottom-left-id.tga": tga(2, 4, 3, 24, 0x00, gradient(36, 7), ident=b"seed"),
    "raw16-skipped-map.tga": tga(2, 3, 2, 16, 0x21, gradient(12, 41),
                                 cmap=(0, 24, gradient(6, 9))),
    "rle32-alpha-top-left.tga": tga(10, 5, 4, 32, 0x28,
                                    run(7, b"\x10\x20\x30\x80") + raw(gradient(24, 11), 4) +
                                    run(7, b"\x01\x02\x03\x00")),
    "mapped8-top-left.tga": tga(1, 4, 4, 8, 0x20, bytes([1, 2, 3, 4, 5, 6, 0, 7] * 2),
                                cmap=(1, 24, gradient(18, 13))),
    "rle-mapped-16bit-entries.tga": tga(9, 6, 3, 8, 0x31,
                                        run(8, b"\x02") + raw(bytes([0, 1, 3, 2]), 1) +
                                        run(6, b"\x01"),
                                        cmap=(0, 16, gradient(8, 37))),
    "grey16-alpha-bottom-right.tga": tga(3, 3, 3, 16, 0x18, gradient(18, 29)),
    "rle-grey-right-to-left.tga": tga(11, 8, 2, 8, 0x10,
                                      run(5, b"\x40") + raw(gradient(6, 23), 1) +
                                      run(5, b"\xC0")),
}


def main():
    out = Path(sys.argv[1]) if len(sys.argv) > 1 else Path(__file__).parent.parent / "fuzz/seeds/tga_reader"
    out.mkdir(parents=True, exist_ok=True)
    for name, data in SEEDS.items():
        (out / name).write_bytes(data)


if __name__ == "__main__":
    main()
