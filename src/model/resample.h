#pragma once

namespace anitrope {

class TrueColorBitmap;

enum class Axis { Horizontal, Vertical };

// Scales every row (Horizontal) or column (Vertical) of `source` by `factor` into the same line
// of `target`, which is expected zeroed and of the scaled length. Shrinking averages boxes of
// round(1 / factor) pixels, and a box with any transparent pixel becomes transparent;
// enlarging repeats each pixel ceil(factor) times, ramping its channels toward the next pixel.
// Lines and pixels beyond either bitmap are left out.
void ResampleAxis(const TrueColorBitmap& source, TrueColorBitmap& target, Axis axis, double factor);

}  // namespace anitrope
