#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "formats/cursor_read_result.h"

namespace anitrope {

inline constexpr std::size_t kMaxCursorSteps = 4096;

// ANI file (RIFF "ACON"): every step, in the order of the 'seq ' chunk when there is one
// (each entry an index into the 'fram' list's 'icon' chunks, each of which is an ICO or CUR
// file), else the icons in stored order; each drawn like DecodeCursor. The counts in 'anih'
// are not trusted: the chunks themselves decide. The canvas is the first step's size; a
// later icon of another size is drawn at the top-left corner, cropped or padded with grey.
//
// Refused before any step is decoded: a chunk that runs past its parent, frames stored as raw
// bitmaps ('anih' flag bit 0 clear), a sequence entry naming a missing icon, more than
// kMaxCursorSteps steps, and steps x canvas pixels beyond kMaxPicturePixels (the canvas being
// known once the first step is decoded). A later icon that fails to decode ends the steps
// there: the earlier ones are kept and the error says why the rest are missing.
CursorReadResult DecodeAnimatedCursor(std::span<const uint8_t> bytes);
CursorReadResult ReadAnimatedCursorFile(const std::string& path);

}  // namespace anitrope
