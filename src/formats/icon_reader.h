#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "formats/cursor_read_result.h"
#include "formats/picture_read_result.h"

namespace anitrope {

// ICO file (or CUR): the first entry of the directory, its colour bitmap as stored,
// every pixel opaque (alpha 255) — the AND mask is NOT applied, masked-out pixels keep
// whatever the colour bitmap holds. A 1-bit-per-pixel entry ("monochrome icon") yields its
// mask picture instead: twice the icon's height, the AND mask in the top half and the XOR
// bits in the bottom half, bit 1 white, bit 0 black. A PNG-compressed entry gives its PNG
// pixels with alpha forced to 255.
PictureReadResult DecodeIcon(std::span<const uint8_t> bytes);

// CUR (or ICO) file: its first image drawn over light grey (192,192,192) the way a cursor is
// drawn on screen (see DrawOverGrey). Output alpha 255.
CursorReadResult DecodeCursor(std::span<const uint8_t> bytes);

PictureReadResult ReadIconFile(const std::string& path);
CursorReadResult ReadCursorFile(const std::string& path);

}  // namespace anitrope
