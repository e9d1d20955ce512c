#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "formats/jpeg_failure.h"
#include "model/true_color_bitmap.h"

namespace anitrope {

struct JpegWriteResult {
    bool ok = false;
    JpegFailure failure = JpegFailure::None;
    std::string message;
};

// A baseline JPEG of `bitmap` at libjpeg quality `quality` (clamped to 0-100), every table
// written. TransparentBit is ignored: JPEG has no transparency, the colour bits are written.
// colour: three components from RGB; otherwise one grey component, (r + g + b) / 3.
JpegWriteResult EncodeJpeg(const TrueColorBitmap& bitmap, bool colour, int quality,
                           std::vector<uint8_t>& out);

// EncodeJpeg, then an atomic replace of `path`: a failure never destroys the previous file.
// CannotOpen when the file cannot be written.
JpegWriteResult WriteJpegFile(const std::string& path, const TrueColorBitmap& bitmap, bool colour,
                              int quality);

}  // namespace anitrope
